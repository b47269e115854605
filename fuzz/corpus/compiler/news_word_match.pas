{ Whole-word matching with negations: "no", "not" and "denies" right
  before a keyword turn it around; the first word of the headline is
  checked with case on strings. }
var
  Words: TStringList;

procedure SplitWords(const s: string; dst: TStringList);
var i: Integer; w: string; c: Char;
begin
  dst.Clear;
  w := '';
  for i := 1 to Length(s) do
  begin
    c := s[i];
    if ((c >= 'A') and (c <= 'Z')) or ((c >= '0') and (c <= '9')) then
      w := w + c
    else if w <> '' then
    begin
      dst.Add(w);
      w := '';
    end;
  end;
  if w <> '' then dst.Add(w);
end;

function Negated(idx: Integer): Boolean;
var prev: string;
begin
  Result := False;
  if idx = 0 then Exit;
  prev := Words[idx - 1];
  Result := (prev = 'NO') or (prev = 'NOT') or (prev = 'DENIES');
end;

procedure Start(Headline, Source: string);
var
  i, score: Integer;
  w: string;
begin
  SplitWords(UpperCase(Headline), Words);
  if Words.Count = 0 then
  begin
    NoTrade;
    Exit;
  end;
  case Words[0] of
    'BREAKING', 'FLASH': WriteLn('urgent: ' + Headline);
    'RUMOUR', 'UNCONFIRMED': begin WriteLn('rumour skipped'); Exit; end;
  end;
  score := 0;
  for i := 0 to Words.Count - 1 do
  begin
    w := Words[i];
    if (w = 'MERGER') or (w = 'TAKEOVER') or (w = 'BUYBACK') then
    begin
      if Negated(i) then score := score - 1 else score := score + 1;
    end
    else if (w = 'BANKRUPTCY') or (w = 'DEFAULT') or (w = 'FRAUD') then
    begin
      if Negated(i) then score := score + 1 else score := score - 1;
    end;
  end;
  WriteLn('words=' + IntToStr(Words.Count) + ' score=' + IntToStrS(score));
  if score > 0 then Buy
  else if score < 0 then Sell;
end;

procedure Init;
begin
  Words := TStringList.Create;
end;

procedure DeInit;
begin
  Words.Free;
end;

begin
end.
