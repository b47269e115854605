{ try..except: handlers run only on an error, errors raised in called
  routines unwind to the caller's handler, nested handlers, re-raising
  with RaiseLastException, execution goes on after the handler. }
var
  i, z: Integer;

procedure Fails(const why: string);
begin
  RaiseException(erCustomError, why);
  WriteLn('not reached in Fails');
end;

function Deep(n: Integer): Integer;
begin
  if n = 0 then Fails('deep failure');
  Result := Deep(n - 1) + 1;
end;

begin
  try
    WriteLn('no error in body');
  except
    WriteLn('never');
  end;
  z := 0;
  try
    i := 10 div z;
    WriteLn('not reached');
  except
    WriteLn('div by zero: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    Fails('from a procedure');
  except
    WriteLn('caught ' + ExceptionParam);
  end;
  try
    i := Deep(5);
  except
    WriteLn('unwound through recursion: ' + ExceptionParam);
  end;
  try
    try
      Fails('inner');
    except
      WriteLn('inner handler: ' + ExceptionParam);
      RaiseLastException;
    end;
    WriteLn('not reached');
  except
    WriteLn('outer handler: ' + ExceptionParam);
  end;
  try
    try
      Fails('first');
    except
      Fails('raised in a handler');
    end;
  except
    WriteLn('outer sees: ' + ExceptionParam);
  end;
  try
    z := 0;
    i := 5 mod z;
  except
  end;
  WriteLn('empty handler swallows the error');
  WriteLn('end of main');
end.
