{ Without short-circuit evaluation both operands of "and" and "or" are
  evaluated (side effects of both happen); a guard like
  (i <= Length(s)) and (s[i] = 'x') therefore still reads s[i]. }
var calls: string;

function Probe(const tag: string; v: Boolean): Boolean;
begin
  calls := calls + tag + ' ';
  Result := v;
end;

var s: string; i: Integer;
begin
  calls := '';
  if Probe('L', False) and Probe('R', True) then WriteLn('and true') else WriteLn('and false, probes: ' + calls);
  calls := '';
  if Probe('L', True) or Probe('R', False) then WriteLn('or true, probes: ' + calls);
  calls := '';
  if not Probe('A', False) or Probe('B', True) and Probe('C', False) then WriteLn('mixed true, probes: ' + calls);
  s := 'ab';
  i := 3;
  if (i <= Length(s)) and (s[i] = 'x') then WriteLn('never');
  WriteLn('not reached');
end.
