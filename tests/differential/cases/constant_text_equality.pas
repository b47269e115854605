{ Constant texts compare for equality and inequality, also in constant declarations; the result is a Boolean. }
const
  b = 'a' + 'b';
  a = b = 'a' + 'b';
  n = b <> 'ab';
  c = 'x' = 'x';
var r: Boolean;
begin
  if a then WriteLn('a true');
  if not n then WriteLn('n false');
  if c then WriteLn('c true');
  r := 'x' <> 'y'; if r then WriteLn('x <> y');
  if 'a' = 'b' then WriteLn('a = b') else WriteLn('a <> b');
  if 'ab' <> 'ab' then WriteLn('ab <> ab') else WriteLn('ab = ab');
  if 'q' = 'q' then WriteLn('char = char');
end.
