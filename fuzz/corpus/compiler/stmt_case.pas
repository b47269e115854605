{ case on integers (values, lists, ranges, else), on Char, on strings
  (byte-wise, case-sensitive), on enumerations, on expressions, duplicate
  labels (the first match wins), no match without else. }
type
  TKind = (kNews, kRumour, kData);
var
  i: Integer;
  s, acc: string;
  c: Char;
  k: TKind;
begin
  acc := '';
  for i := -1 to 12 do
    case i of
      0: acc := acc + 'z';
      1, 2, 3: acc := acc + 'l';
      4..6: acc := acc + 'r';
      7, 9..10: acc := acc + 'm';
    else
      acc := acc + '.';
    end;
  WriteLn('ints=' + acc);
  acc := '';
  s := 'a1-Z';
  for i := 1 to Length(s) do
  begin
    c := s[i];
    case c of
      'a'..'z': acc := acc + 'lower ';
      'A'..'Z': acc := acc + 'upper ';
      '0'..'9': acc := acc + 'digit ';
    else
      acc := acc + 'other ';
    end;
  end;
  WriteLn('chars=' + acc);
  s := 'Sell';
  case s of
    'buy', 'Buy': WriteLn('string: buy');
    'sell': WriteLn('string: lower sell');
    'Sell': WriteLn('string: Sell');
  else
    WriteLn('string: else');
  end;
  s := 'hold';
  case s of
    'buy': WriteLn('never');
  end;
  WriteLn('no match, no else: nothing done');
  k := kRumour;
  case k of
    kNews: WriteLn('enum news');
    kRumour, kData: WriteLn('enum rumour or data');
  end;
  i := 5;
  case i * 2 of
    10: WriteLn('expression selector 10');
  end;
  case i of
    5: WriteLn('duplicate label: first');
    5: WriteLn('duplicate label: second');
  end;
  case i of
    1: ;
    5: begin
         WriteLn('compound branch');
         WriteLn('second statement');
       end;
  end;
end.
