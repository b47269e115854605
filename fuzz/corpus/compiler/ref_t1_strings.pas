{ From the reference runner's own tests: built-in string routines and string semantics.
  Each WriteLn is one check; the label says what it pins down. }
var
  s, t: string;
  c: Char;
  i: Integer;
  i64: Int64;

begin
  { Copy: 1-based, clamps out-of-range start/count instead of failing }
  s := 'abcdef';
  WriteLn('copy mid=' + Copy(s, 2, 3) + ' tail=' + Copy(s, 5, 100) + ' start0=' + Copy(s, 0, 2)
    + ' neg=' + Copy(s, -1, 2) + ' past=[' + Copy(s, 7, 1) + '] negcount=[' + Copy(s, 2, -1) + ']');

  { Pos: first match, case-sensitive, empty needle gives 0 }
  WriteLn('pos first=' + IntToStr(Pos('c', 'abcabc')) + ' case=' + IntToStr(Pos('C', 'abc'))
    + ' empty=' + IntToStr(Pos('', 'abc')) + ' missing=' + IntToStr(Pos('x', 'abc'))
    + ' multi=' + IntToStr(Pos('ca', 'abcabc')));

  { Length / UpperCase / LowerCase: ASCII-only case mapping, bytes not chars }
  s := 'Grüße, World';
  WriteLn('len=' + IntToStr(Length(s)) + ' up=' + UpperCase(s) + ' low=' + LowerCase(s));
  WriteLn('trim=[' + Trim(#9'  padded '#13#10) + '] inner=[' + Trim(' a  b ') + ']');

  { IntToStr takes Int64; StrToInt returns -1 on bad input (no exception) }
  i64 := 2147483647; i64 := i64 * 3;
  WriteLn('inttostr=' + IntToStr(-42) + ' ' + IntToStr(i64));
  WriteLn('strtoint ok=' + IntToStr(StrToInt('123')) + ' bad=' + IntToStr(StrToInt('12a'))
    + ' neg=' + IntToStr(StrToInt('-7')));
  WriteLn('strtointdef lead=' + IntToStr(StrToIntDef(' 12', 0)) + ' trail=' + IntToStr(StrToIntDef('12 ', 0))
    + ' hex=' + IntToStr(StrToIntDef('$1F', 0)) + ' plus=' + IntToStr(StrToIntDef('+5', 0))
    + ' empty=' + IntToStr(StrToIntDef('', 7)) + ' float=' + IntToStr(StrToIntDef('1.5', -1)));

  { Delete / Insert / indexed read and write }
  s := 'hello world';
  Delete(s, 1, 6);
  Insert('big ', s, 1);
  s[1] := 'B';
  WriteLn('edit=' + s + ' first=' + s[1] + ' last=' + s[Length(s)]);

  { concatenation of Char + string, '' escape, #nn literals, Chr/Ord }
  c := 'x';
  t := c + c + '''' + #65#66 + Chr(67) + IntToStr(Ord('a'));
  WriteLn('concat=' + t + ' len=' + IntToStr(Length(t)));

  { comparison is binary (ordinal), hence case-sensitive: 'a' > 'B' }
  s := 'a'; t := 'B';
  if s > t then WriteLn('cmp a>B true') else WriteLn('cmp a>B false');
  s := 'abc';
  if s = 'ABC' then WriteLn('cmp eq-ci true') else WriteLn('cmp eq-ci false');
  s := 'ab';
  if s < 'abc' then WriteLn('cmp prefix-less true') else WriteLn('cmp prefix-less false');

  { Pad helpers and StringOfChar (string variables; see t6 for literal quirk) }
  s := '7';
  WriteLn('padl=[' + PadL(s, 4) + '] padr=[' + PadR(s, 4) + '] padz=[' + PadZ(s, 4)
    + '] short=[' + PadL('abcdef', 3) + '] soc=' + StringOfChar('-', 5));

  { FloatToStr in Pascal Script is Str(x:0:12): always 12 decimals }
  WriteLn('fts ' + FloatToStr(0.1) + ' ' + FloatToStr(3) + ' ' + FloatToStr(2.0 / 3) + ' ' + FloatToStr(-1.5));

  { building a string in a loop }
  s := '';
  for i := 1 to 5 do
    s := s + IntToStr(i * i) + ',';
  WriteLn('loop=' + Copy(s, 1, Length(s) - 1));
end.
