{ RaiseException with the engine's error kinds: ExceptionType gives the
  kind, ExceptionParam the text, ExceptionToString the message the engine
  would print.  An uncaught custom error ends the run with its text. }
procedure Show(kind: TIFException; const param: string);
begin
  try
    RaiseException(kind, param);
  except
    WriteLn(IntToStr(Ord(ExceptionType)) + ' [' + ExceptionParam + '] -> ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
end;

begin
  Show(erCustomError, 'my message');
  Show(erDivideByZero, '');
  Show(erOutOfRange, '');
  Show(erMathError, '');
  Show(erException, 'wrapped');
  Show(erNullPointerException, '');
  Show(erTypeMismatch, '');
  Show(erCouldNotCallProc, '');
  Show(erCustomError, '');
  WriteLn(ExceptionToString(erOutOfMemory, '') + ' / ' + ExceptionToString(erNullVariantError, '') + ' / ' + ExceptionToString(erInternalError, ''));
  RaiseException(erCustomError, 'stopping here');
  WriteLn('not reached');
end.
