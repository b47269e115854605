{ try..finally: the finally part runs on normal exit, on an error (which
  then goes on to the outer handler), on Exit from a routine, and in
  nested blocks innermost first. }
var
  log: string;

procedure Note(const s: string);
begin
  log := log + s + ' ';
end;

procedure WithExit(stop: Boolean);
begin
  try
    log := log + 'body ';
    if stop then Exit;
    log := log + 'rest ';
  finally
    log := log + 'finally ';
  end;
  log := log + 'after ';
end;

function Guarded(fail: Boolean): Integer;
begin
  Result := 1;
  try
    if fail then RaiseException(erCustomError, 'guarded failed');
    Result := 2;
  finally
    Note('cleanup(' + IntToStr(Result) + ')');
  end;
end;

begin
  log := '';
  try
    Note('a');
  finally
    Note('b');
  end;
  WriteLn('normal: ' + log);
  log := '';
  WithExit(True);
  WriteLn('exit: ' + log);
  log := '';
  WithExit(False);
  WriteLn('no exit: ' + log);
  log := '';
  try
    Note(IntToStr(Guarded(False)));
    Note(IntToStr(Guarded(True)));
  except
    Note('handler:' + ExceptionParam);
  end;
  WriteLn('error: ' + log);
  log := '';
  try
    try
      try
        RaiseException(erCustomError, 'x');
      finally
        Note('inner');
      end;
    finally
      Note('middle');
    end;
  except
    Note('outer');
  end;
  WriteLn('nested: ' + log);
  try
  finally
    WriteLn('empty try body');
  end;
end.
