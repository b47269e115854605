{ Break and Continue of loops that lie wholly inside a try block, a finally
  part or an except handler: they only move within that part, and the
  finally part and the code after the try statement run as usual. }
var
  i, n: Integer;
  log: string;

procedure InFinallyWithExit;
var k: Integer;
begin
  try
    Exit;
  finally
    for k := 1 to 5 do
    begin
      if k = 2 then Continue;
      if k = 4 then Break;
      log := log + 'k' + IntToStr(k) + ' ';
    end;
  end;
  log := log + 'BUY ';
end;

begin
  log := '';
  try
    for i := 1 to 5 do
    begin
      if i = 2 then Continue;
      if i = 4 then Break;
      log := log + IntToStr(i) + ' ';
    end;
  finally
    log := log + 'fin ';
  end;
  WriteLn('in try: ' + log + 'i=' + IntToStr(i));
  log := '';
  try
    log := log + 'body ';
  finally
    for i := 1 to 5 do
    begin
      if i = 2 then Continue;
      if i = 4 then Break;
      log := log + IntToStr(i) + ' ';
    end;
  end;
  WriteLn('in finally: ' + log + 'i=' + IntToStr(i));
  log := '';
  try
    n := 0;
    n := 1 div n;
  except
    n := 0;
    while True do
    begin
      n := n + 1;
      if n = 2 then Continue;
      if n > 3 then Break;
      log := log + IntToStr(n) + ' ';
    end;
  end;
  WriteLn('in handler: ' + log + 'n=' + IntToStr(n));
  log := '';
  InFinallyWithExit;
  WriteLn('in finally with exit: ' + log);
  log := '';
  try
    try
      RaiseException(erCustomError, 'kept');
    finally
      i := 0;
      repeat
        i := i + 1;
        if i = 2 then Continue;
        log := log + IntToStr(i) + ' ';
      until i >= 3;
    end;
  except
    log := log + ExceptionParam;
  end;
  WriteLn('in finally with error: ' + log);
end.
