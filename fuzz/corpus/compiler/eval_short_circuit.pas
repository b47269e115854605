{ The same script compiled with short-circuit evaluation (--short-circuit):
  the right operand is skipped once the left decides, so the guard
  protects s[i]. }
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
  WriteLn('guard protected the index');
end.
