{ Exit inside a try block whose finally part raises and handles an error of
  its own: the routine still returns once that finally part has ended.  The
  error comes from the try part or the finally part of an inner
  try..finally, or straight from a try..except, in procedures and functions. }
var
  log: string;
  n: Integer;

procedure ErrorInInnerFinally;
begin
  try
    log := log + 'body ';
    Exit;
  finally
    try
      try
        log := log + 'inner ';
      finally
        RaiseException(erCustomError, 'from inner finally');
      end;
    except
      log := log + 'handled(' + ExceptionParam + ') ';
    end;
  end;
  log := log + 'BUY ';
end;

procedure ErrorInInnerTry;
begin
  try
    Exit;
  finally
    try
      try
        RaiseException(erCustomError, 'from inner try');
      finally
        log := log + 'inner-finally ';
      end;
    except
      log := log + 'handled(' + ExceptionParam + ') ';
    end;
  end;
  log := log + 'BUY ';
end;

procedure ErrorInPlainExcept;
begin
  try
    log := log + 'body ';
    Exit;
  finally
    try
      n := 0;
      n := 10 div n;
    except
      log := log + 'handled(' + ExceptionToString(ExceptionType, ExceptionParam) + ') ';
    end;
  end;
  log := log + 'BUY ';
end;

function Price(stop: Boolean): Integer;
begin
  Result := 1;
  try
    if stop then Exit;
    Result := 2;
  finally
    try
      try
        Result := Result * 10;
      finally
        RaiseException(erCustomError, 'x');
      end;
    except
      Result := Result + 5;
    end;
  end;
  Result := Result * 100;
end;

procedure TwoLevels;
begin
  try
    try
      log := log + 'deep ';
      Exit;
    finally
      try
        try
          log := log + 'f1 ';
        finally
          RaiseException(erCustomError, 'a');
        end;
      except
        log := log + 'h1 ';
      end;
    end;
    log := log + 'BUY1 ';
  finally
    try
      RaiseException(erCustomError, 'b');
    except
      log := log + 'h2 ';
    end;
  end;
  log := log + 'BUY2 ';
end;

begin
  log := '';
  ErrorInInnerFinally;
  WriteLn('error in inner finally: ' + log);
  log := '';
  ErrorInInnerTry;
  WriteLn('error in inner try: ' + log);
  log := '';
  ErrorInPlainExcept;
  WriteLn('error in plain except: ' + log);
  WriteLn('price exit: ' + IntToStr(Price(True)));
  WriteLn('price no exit: ' + IntToStr(Price(False)));
  log := '';
  TwoLevels;
  WriteLn('two levels: ' + log);
end.
