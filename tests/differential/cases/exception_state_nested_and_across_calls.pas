{ The same state across routines and nested except parts. }
procedure Show(const w: string);
begin
  WriteLn(w + ': ' + IntToStr(Ord(ExceptionType)) + ' [' + ExceptionParam + ']');
end;
procedure Raiser;
begin
  try
    Show('raiser-try');
    RaiseException(erCustomError, 'from raiser');
  finally
    Show('raiser-fin');
  end;
end;
var i: Integer;
begin
  Show('start');
  try
    RaiseException(erCustomError, 'one');
  except
    Show('exc1');
    try
      Show('nested-try');
      RaiseException(erCustomError, 'two');
    except
      Show('nested-exc');
    end;
    Show('exc1-after-nested');
  end;
  Show('after1');
  try
    Show('try-body');
  except
  end;
  try
    Raiser;
  except
    Show('caught-raiser');
  end;
  try
    i := 0;
    i := 5 div i;
  except
    Show('divzero');
  end;
  Show('final');
end.
