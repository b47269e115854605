{ Exit through try..except and try..finally in routines called from try
  blocks, finally parts and handlers of their callers: each Exit leaves only
  its own routine, the handlers it passed are gone afterwards, function
  results set before the Exit are kept. }
var
  log: string;

procedure Note(const s: string);
begin
  log := log + s + ' ';
end;

function Level3(stop: Boolean): Integer;
begin
  Result := 3;
  try
    try
      if stop then Exit;
      Result := 30;
    except
      Result := -1;
    end;
  finally
    Result := Result + 1;
  end;
  Result := Result * 2;
end;

procedure Level2(stop: Boolean);
begin
  try
    log := log + 'L3=' + IntToStr(Level3(stop)) + ' ';
    if stop then Exit;
    log := log + 'L2 rest ';
  except
    log := log + 'L2 never ';
  end;
  log := log + 'L2 after ';
end;

procedure ExitFromHandler;
begin
  try
    RaiseException(erCustomError, 'h');
  except
    log := log + 'handler ';
    Exit;
  end;
  log := log + 'after ';
end;

procedure ExitFromTryExcept;
begin
  try
    log := log + 'body ';
    Exit;
  except
    log := log + 'never ';
  end;
  log := log + 'after ';
end;

begin
  log := '';
  Level2(True);
  WriteLn('stop: ' + log);
  log := '';
  Level2(False);
  WriteLn('go on: ' + log);
  log := '';
  try
    ExitFromHandler;
    ExitFromTryExcept;
    RaiseException(erCustomError, 'late');
  except
    log := log + 'main caught ' + ExceptionParam;
  end;
  WriteLn('handlers gone: ' + log);
  log := '';
  try
    RaiseException(erCustomError, 'first');
  except
    Level2(True);
    log := log + ExceptionParam;
  end;
  WriteLn('exit in handler call: ' + log);
end.
