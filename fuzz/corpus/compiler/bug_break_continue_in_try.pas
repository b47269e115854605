{ Break and Continue inside try..except and try..finally must act on the
  loop (after running the finally part), not only on the try block. }
var
  i: Integer;
  log: string;
begin
  log := '';
  for i := 1 to 5 do
  begin
    try
      if i = 3 then Break;
      log := log + 'body' + IntToStr(i) + ' ';
    except
      log := log + 'never ';
    end;
    log := log + 'tail' + IntToStr(i) + ' ';
  end;
  WriteLn('break in try..except: ' + log);
  log := '';
  for i := 1 to 4 do
  begin
    try
      if i mod 2 = 0 then Continue;
      log := log + 'odd' + IntToStr(i) + ' ';
    finally
      log := log + 'fin' + IntToStr(i) + ' ';
    end;
    log := log + 'tail' + IntToStr(i) + ' ';
  end;
  WriteLn('continue in try..finally: ' + log);
  log := '';
  i := 0;
  while i < 10 do
  begin
    i := i + 1;
    try
      RaiseException(erCustomError, 'stop');
    except
      if i = 2 then Break;
    end;
    log := log + IntToStr(i) + ' ';
  end;
  WriteLn('break in handler: ' + log + 'i=' + IntToStr(i));
end.
