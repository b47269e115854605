{ A loop left by Break or Continue from inside a try..finally whose
  finally part raises and handles an error: the loop is still left (or
  continued) after the finally part.  Also an error that escapes the finally
  part, which replaces the Break. }
var
  i, j: Integer;
  log: string;
begin
  log := '';
  i := 0;
  while i < 5 do
  begin
    i := i + 1;
    try
      if i = 2 then Break;
      log := log + 'b' + IntToStr(i) + ' ';
    finally
      try
        try
          log := log + 'f' + IntToStr(i) + ' ';
        finally
          RaiseException(erCustomError, 'x');
        end;
      except
        log := log + 'h ';
      end;
    end;
    log := log + 't' + IntToStr(i) + ' ';
  end;
  WriteLn('break: ' + log + 'i=' + IntToStr(i));

  log := '';
  for i := 1 to 4 do
  begin
    try
      if i mod 2 = 0 then Continue;
      log := log + 'odd' + IntToStr(i) + ' ';
    finally
      try
        RaiseException(erCustomError, 'y');
      except
        log := log + 'h' + IntToStr(i) + ' ';
      end;
    end;
    log := log + 't' + IntToStr(i) + ' ';
  end;
  WriteLn('continue: ' + log);

  log := '';
  for i := 1 to 3 do
  begin
    try
      try
        if i = 2 then Break;
        log := log + 'b' + IntToStr(i) + ' ';
      finally
        RaiseException(erCustomError, 'replaces break');
      end;
    except
      log := log + 'caught' + IntToStr(i) + ' ';
    end;
  end;
  WriteLn('error replaces break: ' + log + 'i=' + IntToStr(i));

  log := '';
  for i := 1 to 2 do
    for j := 1 to 3 do
    begin
      try
        if j = 2 then Break;
        log := log + IntToStr(i) + IntToStr(j) + ' ';
      finally
        try
          try
          finally
            RaiseException(erCustomError, 'z');
          end;
        except
        end;
      end;
    end;
  WriteLn('inner loop: ' + log);
end.
