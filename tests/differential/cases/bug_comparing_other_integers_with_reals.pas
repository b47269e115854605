{ Comparing integers of every width with reals: only Integer with Single, Double and Extended works in the
  reference; the other pairs stop the script there. }
var b: Byte; w: Word; sh: ShortInt; sm: SmallInt; ca: Cardinal; j: Int64; i: Integer;
    sg: Single; d: Double; e: Extended; c: Currency;
begin
  b := 3; w := 3; sh := 3; sm := 3; ca := 3; j := 3; i := 3; sg := 2.5; d := 2.5; e := 2.5; c := 2.5;
  if i > d then WriteLn('Integer > Double');
  if i > e then WriteLn('Integer > Extended');
  try if b > d then WriteLn('Byte > Double'); except WriteLn('Byte: ' + ExceptionParam); end;
  try if w > sg then WriteLn('Word > Single'); except WriteLn('Word: ' + ExceptionParam); end;
  try if j > e then WriteLn('Int64 > Extended'); except WriteLn('Int64: ' + ExceptionParam); end;
  try if ca < d then WriteLn('Cardinal < Double') else WriteLn('Cardinal >= Double'); except WriteLn('Cardinal: ' + ExceptionParam); end;
  try if i > c then WriteLn('Integer > Currency'); except WriteLn('Currency: ' + ExceptionParam); end;
  try if (b + i) > e then WriteLn('Byte sum > Extended'); except WriteLn('Byte sum: ' + ExceptionParam); end;
end.
