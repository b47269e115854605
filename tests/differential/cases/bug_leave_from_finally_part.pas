{ Exit, Break and Continue inside a finally part: they drop what that finally
  part was entered for (going on, an error, an Exit) but leave the actions
  of enclosing finally parts alone. }
var
  log: string;
  i: Integer;

procedure BreakInsideOuterFinally;
var k: Integer;
begin
  try
    log := log + 'body ';
    Exit;
  finally
    for k := 1 to 3 do
      try
        log := log + 'k' + IntToStr(k) + ' ';
      finally
        if k = 2 then Break;
      end;
  end;
  log := log + 'BUY ';
end;

procedure ContinueInsideOuterFinally;
var k: Integer;
begin
  try
    Exit;
  finally
    for k := 1 to 3 do
      try
        log := log + 'k' + IntToStr(k) + ' ';
      finally
        Continue;
      end;
  end;
  log := log + 'BUY ';
end;

procedure ExitFromFinally(fail: Boolean);
begin
  try
    if fail then RaiseException(erCustomError, 'dropped');
    log := log + 'body ';
  finally
    log := log + 'finally ';
    Exit;
  end;
  log := log + 'after ';
end;

procedure ExitFromNestedFinally;
begin
  try
    try
      log := log + 'a ';
    finally
      log := log + 'inner ';
      Exit;
    end;
    log := log + 'b ';
  finally
    log := log + 'outer ';
  end;
  log := log + 'c ';
end;

begin
  log := '';
  BreakInsideOuterFinally;
  WriteLn('break inside: ' + log);
  log := '';
  ContinueInsideOuterFinally;
  WriteLn('continue inside: ' + log);
  log := '';
  ExitFromFinally(False);
  WriteLn('exit from finally: ' + log);
  log := '';
  ExitFromNestedFinally;
  WriteLn('exit from nested finally: ' + log);
  log := '';
  for i := 1 to 3 do
  begin
    try
      log := log + 'i' + IntToStr(i) + ' ';
    finally
      if i = 2 then Break;
    end;
    log := log + 't ';
  end;
  WriteLn('break from finally: ' + log + 'i=' + IntToStr(i));
  log := '';
  try
    ExitFromFinally(True);
    WriteLn('error dropped: ' + log);
  except
    WriteLn('error kept: ' + log + ExceptionParam);
  end;
end.
