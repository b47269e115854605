{ Two variants compared: numbers, texts (byte order), a text against a number (taken as the number it spells,
  or an invalid cast), True as -1 against numbers, False before True, an unassigned variant before anything. }
var a, b: Variant;
procedure T(x, y: Variant; n: string);
var s: string;
begin
  s := n + ':';
  try
    if x = y then s := s + ' eq' else s := s + ' ne';
    if x < y then s := s + ' lt' else s := s + ' nlt';
    if x > y then s := s + ' gt' else s := s + ' ngt';
    if x <= y then s := s + ' le' else s := s + ' nle';
    if x >= y then s := s + ' ge' else s := s + ' nge';
    if x <> y then s := s + ' ne2' else s := s + ' eq2';
  except
    s := s + ' EXC ' + ExceptionToString(ExceptionType, ExceptionParam);
  end;
  WriteLn(s);
end;
begin
  T(3, 3, 'int int');
  T(3, 4, 'int int2');
  T(3, '3', 'int str');
  T('10', 9, 'str int');
  T('abc', 'abd', 'str str');
  T('B', 'a', 'case');
  T(1.5, 1, 'float int');
  T(True, -1, 'bool -1');
  T(True, 1, 'bool 1');
  T(True, False, 'bool bool');
  T(a, 0, 'empty 0');
  T(a, '', 'empty str');
  T(a, b, 'empty empty');
  T('x', 1, 'x 1');
  T(2.5, '2.5', 'float str');
end.
