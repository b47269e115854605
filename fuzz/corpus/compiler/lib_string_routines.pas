{ String routines: Copy (clamps), Pos, Delete and Insert at the edges,
  Trim, Upper/LowerCase (ASCII only), AnsiUpper/LowerCase, Replicate,
  StringOfChar, and AnyString routines keeping the argument's type. }
var
  s, t: string;
begin
  s := 'abcdef';
  WriteLn('copy ' + Copy(s, 2, 3) + ' ' + Copy(s, 5, 100) + ' [' + Copy(s, 0, 2) + '] [' + Copy(s, 7, 1) + '] [' + Copy(s, 3, 0) + '] [' + Copy(s, 2, -1) + ']');
  WriteLn('pos ' + IntToStr(Pos('cd', s)) + ' ' + IntToStr(Pos('CD', s)) + ' ' + IntToStr(Pos('', s)) + ' ' + IntToStr(Pos('f', s))
    + ' ' + IntToStr(Pos('abcdefg', s)) + ' ' + IntToStr(Pos('a', '')));
  t := s; Delete(t, 1, 2); WriteLn('delete head ' + t);
  t := s; Delete(t, 5, 100); WriteLn('delete tail ' + t);
  t := s; Delete(t, 0, 2); WriteLn('delete at 0 ' + t);
  t := s; Delete(t, 10, 2); WriteLn('delete past end ' + t);
  t := s; Delete(t, 3, 0); WriteLn('delete none ' + t);
  t := s; Insert('XY', t, 1); WriteLn('insert front ' + t);
  t := s; Insert('XY', t, 7); WriteLn('insert end ' + t);
  t := s; Insert('XY', t, 100); WriteLn('insert past end ' + t);
  t := s; Insert('XY', t, 0); WriteLn('insert at 0 ' + t);
  WriteLn('trim [' + Trim('  a b  ') + '] [' + Trim(#9#13#10' x'#0) + '] [' + Trim('   ') + ']');
  s := 'MiXeD 123 äÖ';
  WriteLn('upper ' + UpperCase(s) + ' lower ' + LowerCase(s));
  WriteLn('ansi upper ' + AnsiUpperCase('abc xyz') + ' ansi lower ' + AnsiLowerCase('ABC XYZ'));
  WriteLn('replicate ' + Replicate('=', 4) + ' stringofchar ' + StringOfChar('*', 3) + ' [' + StringOfChar('*', 0) + ']');
  s := '7';
  WriteLn('pad var [' + PadL(s, 3) + '] [' + PadR(s, 3) + '] [' + PadZ(s, 3) + '] long [' + PadL('abcdef', 3) + ']');
  WriteLn('pad literal char [' + PadL('x', 3) + '] [' + PadZ('7', 3) + ']');
  WriteLn('upper literal char ' + UpperCase('q') + ' copy literal char [' + Copy('z', 1, 5) + ']');
end.
