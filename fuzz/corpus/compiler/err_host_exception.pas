{ Errors raised by host routines (date encoding, float parsing) carry the
  RTL's message after "Exception: ". }
var d: TDateTime;
begin
  try
    d := EncodeDate(2024, 0, 1);
  except
    WriteLn('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('float ' + FloatToStr(StrToFloat('1,5')));
end.
