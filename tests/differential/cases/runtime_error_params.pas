{ The texts ExceptionParam reads after the run-time errors of arithmetic, indexes and casts. }
procedure Show(const w: string);
begin
  WriteLn(w + ': ' + IntToStr(Ord(ExceptionType)) + ' [' + ExceptionParam + ']');
end;
var i: Integer; a: array of Integer; d, z: Double; s: string; c: Currency; v: Variant;
begin
  try i := 0; i := 5 div i; except Show('div'); end;
  try i := 0; i := 5 mod i; except Show('mod'); end;
  try SetLength(a, 2); i := 5; a[i] := 1; except Show('index'); end;
  try z := 0; d := 1 / z; except Show('fdiv'); end;
  try z := 0; d := z / z; except Show('0/0'); end;
  try s := 'abc'; s[10] := 'x'; except Show('strindex'); end;
  try c := 0; c := 1 / c; except Show('cdiv'); end;
  try v := 'abc'; i := v; except Show('variant'); end;
  try i := StrToInt('x'); Show('strtoint ' + IntToStr(i)); except Show('strtoint'); end;
  try RaiseException(erOutOfRange, 'mine'); except Show('custom'); end;
end.
