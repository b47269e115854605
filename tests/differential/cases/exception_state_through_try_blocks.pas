{ ExceptionType and ExceptionParam through nested try blocks: the innermost block's error while its except part runs, none in try and finally parts, and after the last block no error with the last text. }
var s: string;
begin
  try
    RaiseException(erCustomError, 'boom');
  except
    WriteLn('in: ' + IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam);
  end;
  WriteLn('after: ' + IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam);
  try
    s := 'x';
  finally
    WriteLn('fin: ' + IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam);
  end;
  try
    try
      RaiseException(erCustomError, 'inner');
    finally
      WriteLn('fin2: ' + IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam);
    end;
  except
    WriteLn('exc2: ' + IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam);
  end;
  WriteLn('end: ' + IntToStr(Ord(ExceptionType)) + ' ' + ExceptionParam);
end.
