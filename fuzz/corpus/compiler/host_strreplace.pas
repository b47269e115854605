{ StrReplace(S, Old, New, ReplaceAll, IgnoreCase): left to right, matches
  do not overlap, replaced text is not searched again, IgnoreCase keeps
  the letters of S, an empty Old returns S. }
begin
  WriteLn('aAa: ' + StrReplace('aAa', 'a', 'b', False, False) + ' ' + StrReplace('aAa', 'a', 'b', True, False)
    + ' ' + StrReplace('aAa', 'a', 'b', True, True) + ' ' + StrReplace('aAa', 'a', 'b', False, True));
  WriteLn('overlap: ' + StrReplace('aaaa', 'aa', 'b', True, False) + ' ' + StrReplace('ababab', 'aba', 'X', True, False));
  WriteLn('no rescan: ' + StrReplace('aaa', 'a', 'aa', True, False) + ' ' + StrReplace('abc', 'b', 'bb', True, False));
  WriteLn('case kept: ' + StrReplace('Hello HELLO hello', 'hello', 'bye', True, True) + ' / ' + StrReplace('xYz', 'Y', 'q', True, False));
  WriteLn('delete: ' + StrReplace('a, b, c', ', ', '', True, False) + ' whole: [' + StrReplace('abc', 'abc', '', True, False) + ']');
  WriteLn('empty old: ' + StrReplace('abc', '', 'z', True, False) + ' empty s: [' + StrReplace('', 'a', 'b', True, True) + ']');
  WriteLn('longer than s: ' + StrReplace('ab', 'abc', 'z', True, False) + ' at end: ' + StrReplace('xab', 'ab', '!', False, False));
end.
