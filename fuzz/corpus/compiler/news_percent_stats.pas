{ Per-company statistics of the percentage moves in headlines: parses the
  trailing "+3.5%" into hundredths, keeps an array of records, formats big
  moves with FloatToStrFixedS and StrReplace, reports in DeInit. }
type
  TStat = record
    Name: string;
    Count: Integer;
    SumMoves: Integer;
  end;
var
  Stats: array of TStat;
  Big: Integer;

function FindStat(const name: string): Integer;
var i: Integer;
begin
  for i := 0 to GetArrayLength(Stats) - 1 do
    if Stats[i].Name = name then
    begin
      Result := i;
      Exit;
    end;
  Result := GetArrayLength(Stats);
  SetArrayLength(Stats, Result + 1);
  Stats[Result].Name := name;
end;

procedure Start(Headline, Source: string);
var
  p, k, whole, frac, moved, idx: Integer;
  num, txt: string;
begin
  p := Pos('%', Headline);
  if p = 0 then Exit;
  k := p - 1;
  while k > 0 do
  begin
    if Pos(Headline[k], '0123456789.+-') = 0 then Break;
    k := k - 1;
  end;
  num := Copy(Headline, k + 1, p - k - 1);
  k := Pos('.', num);
  if k = 0 then
  begin
    whole := StrToIntDef(num, 0);
    frac := 0;
  end
  else
  begin
    whole := StrToIntDef(Copy(num, 1, k - 1), 0);
    frac := StrToIntDef(Copy(num, k + 1, 1), 0) * 10;
  end;
  if whole < 0 then moved := whole * 100 - frac
  else if Copy(num, 1, 1) = '-' then moved := -frac
  else moved := whole * 100 + frac;
  idx := FindStat(Copy(Headline, 1, Pos(' ', Headline) - 1));
  Stats[idx].Count := Stats[idx].Count + 1;
  Stats[idx].SumMoves := Stats[idx].SumMoves + moved;
  if (moved >= 1000) or (moved <= -1000) then
  begin
    Big := Big + 1;
    txt := StrReplace(FloatToStrFixedS(2, moved / 100.0), '.', ',', False, False);
    WriteLnLog(Stats[idx].Name + ' ' + txt);
    if moved > 0 then Buy else Sell;
  end;
end;

procedure DeInit;
var i: Integer;
begin
  for i := 0 to GetArrayLength(Stats) - 1 do
    WriteLn(Stats[i].Name + ' n=' + IntToStr(Stats[i].Count) + ' sum=' + IntToStrS(Stats[i].SumMoves));
  WriteLn('big=' + IntToStr(Big));
end;

begin
end.
