{ Reads "actual vs forecast" figures from economic headlines such as
  "US CPI 3.4% vs 3.1% expected" and trades the surprise: the size of the
  surprise picks a normal or a strong signal. }
var
  Trades: Integer;

function NumberBefore(const s: string; p: Integer): string;
var k: Integer;
begin
  { both sides of "and" are always evaluated, so s[0] must not be read }
  k := p - 1;
  while k > 0 do
  begin
    if Pos(s[k], '0123456789.-') = 0 then Break;
    k := k - 1;
  end;
  Result := Copy(s, k + 1, p - k - 1);
end;

function ToHundredths(const s: string): Integer;
var p, whole, frac: Integer; f: string;
begin
  p := Pos('.', s);
  if p = 0 then
  begin
    whole := StrToIntDef(s, 0);
    Result := whole * 100;
    Exit;
  end;
  whole := StrToIntDef(Copy(s, 1, p - 1), 0);
  f := Copy(s + '00', p + 1, 2);
  frac := StrToIntDef(f, 0);
  if Copy(s, 1, 1) = '-' then Result := whole * 100 - frac
  else Result := whole * 100 + frac;
end;

procedure Start(Headline, Source: string);
var
  pVs, pPct1, pPct2: Integer;
  actual, forecast, rest: string;
  diff: Integer;
  bullishWhenHigher: Boolean;
begin
  pVs := Pos(' vs ', Headline);
  if pVs = 0 then Exit;
  pPct1 := Pos('%', Headline);
  rest := Copy(Headline, pVs + 4, Length(Headline));
  pPct2 := Pos('%', rest);
  if (pPct1 = 0) or (pPct2 = 0) or (pPct1 > pVs) then Exit;
  actual := NumberBefore(Headline, pPct1);
  forecast := NumberBefore(rest, pPct2);
  diff := ToHundredths(actual) - ToHundredths(forecast);
  { higher inflation or growth is bullish for the currency, higher
    unemployment is bearish }
  bullishWhenHigher := Pos('UNEMPLOYMENT', UpperCase(Headline)) = 0;
  if not bullishWhenHigher then diff := -diff;
  WriteLn('actual=' + actual + ' forecast=' + forecast + ' surprise=' + FloatToStrFixedS(2, diff / 100.0));
  if diff >= 30 then StrongBuy
  else if diff > 0 then Buy
  else if diff <= -30 then StrongSell
  else if diff < 0 then Sell
  else NoTrade;
  if Signaled and (LastSignal <> 5) then Trades := Trades + 1;
end;

procedure DeInit;
begin
  WriteLnLog('trades=' + IntToStr(Trades));
end;

begin
end.
