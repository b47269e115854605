{ Procedures called from a finally part whose own try statements are left by
  Break or Exit and whose finally parts raise errors they handle: the
  caller's finally part goes on with its own pending action (an Exit, an
  error), and its code after the try statement runs only when nothing was
  pending. }
var
  log: string;

procedure Note(const s: string);
begin
  log := log + s + ' ';
end;

procedure BreakThenError;
var i: Integer;
begin
  for i := 1 to 2 do
    try
      try
        Break;
      finally
        RaiseException(erCustomError, 'in callee');
      end;
    except
      Note('callee caught' + IntToStr(i));
    end;
  Note('callee end');
end;

procedure ExitThenHandled;
begin
  try
    Exit;
  finally
    try
      RaiseException(erCustomError, 'inner');
    except
      Note('callee handled');
    end;
  end;
  Note('callee BUY');
end;

function Level3(stop: Boolean): Integer;
begin
  Result := 3;
  try
    if stop then Exit;
    Result := 30;
  finally
    Result := Result + 1;
  end;
  Result := Result * 2;
end;

procedure CallerNormal;
begin
  try
    Note('body');
  finally
    BreakThenError;
    Note('caller finally');
  end;
  Note('caller after');
end;

procedure CallerExits;
begin
  try
    Note('body');
    Exit;
  finally
    BreakThenError;
    ExitThenHandled;
  end;
  Note('caller BUY');
end;

procedure CallerCatches;
begin
  try
    try
      RaiseException(erCustomError, 'outer');
    finally
      ExitThenHandled;
      Note('caller finally');
    end;
  except
    Note('caller caught ' + ExceptionParam);
  end;
  Note('caller after');
end;

begin
  log := '';
  CallerNormal;
  WriteLn('normal: ' + log);
  log := '';
  CallerExits;
  WriteLn('exits: ' + log);
  log := '';
  CallerCatches;
  WriteLn('catches: ' + log);
  log := '';
  try
    try
      RaiseException(erCustomError, 'pending');
    finally
      Note('L3=' + IntToStr(Level3(True)));
    end;
  except
    Note('still ' + ExceptionParam);
  end;
  WriteLn('error kept over a call: ' + log);
end.
