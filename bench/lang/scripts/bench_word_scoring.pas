{ bench_word_scoring: splits each headline into upper-case words by hand
  (character loop, Char compares, string building), scores words with a
  case on strings and reports the score with IntToStrS. }
var
  Words: TStringList;
  Scored: Integer;

procedure Init;
begin
  Words := TStringList.Create;
end;

procedure Start(Headline, Source: string);
var
  i, score: Integer;
  c: Char;
  w, U: string;
begin
  U := UpperCase(Headline);
  Words.Clear;
  w := '';
  for i := 1 to Length(U) do
  begin
    c := U[i];
    if ((c >= 'A') and (c <= 'Z')) or ((c >= '0') and (c <= '9')) then
      w := w + c
    else if w <> '' then
    begin
      Words.Add(w);
      w := '';
    end;
  end;
  if w <> '' then Words.Add(w);
  score := 0;
  for i := 0 to Words.Count - 1 do
    case Words[i] of
      'UPGRADE', 'BEATS', 'RAISES', 'RECORD', 'WINS', 'JUMP', 'UPSIDE': score := score + 1;
      'DOWNGRADE', 'MISSES', 'CUTS', 'PROBE', 'HALTS', 'SLIDE', 'WEAK': score := score - 1;
      'NOT', 'NO': score := -score;
    end;
  if score <> 0 then
  begin
    Scored := Scored + 1;
    if score >= 2 then StrongBuy
    else if score > 0 then Buy
    else if score <= -2 then StrongSell
    else Sell;
    WriteLnLog(IntToStrS(score) + ' ' + Headline);
  end;
end;

procedure DeInit;
begin
  WriteLn('scored=' + IntToStr(Scored));
  Words.Free;
end;

begin
end.
