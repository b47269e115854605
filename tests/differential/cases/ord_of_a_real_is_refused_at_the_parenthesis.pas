{ Ord of a value that is no ordinal: the error stands at the closing parenthesis. }
var d: Double;
begin
  d := 1.5;
  WriteLn(IntToStr(Ord(d + 1)));
end.
