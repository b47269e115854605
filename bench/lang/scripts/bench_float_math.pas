{ bench_float_math: floating-point arithmetic per headline: a running
  exponential average of the headline length in Double, an Extended sum of
  squares, Single ratios and a Currency total, with comparisons in the
  loop and FloatToStr of the results. }
var
  Avg: Double;
  SumSq: Extended;
  Total: Currency;
  Calls: Integer;

procedure Start(Headline, Source: string);
var
  k: Integer;
  x, y: Double;
  r: Single;
  e: Extended;
begin
  Calls := Calls + 1;
  x := Length(Headline);
  Avg := Avg * 0.95 + x * 0.05;
  e := 0;
  for k := 1 to 40 do
  begin
    y := x / k + 0.5;
    e := e + y * y;
    r := y / (k + 1);
    if r > 1.5 then e := e - r;
    if e > 1e6 then e := e / 3;
  end;
  SumSq := SumSq + e;
  Total := Total + Round(e) * 0.01;
  if Calls mod 500 = 0 then
    WriteLn(FloatToStr(Avg) + ' ' + FloatToStr(SumSq) + ' ' + FloatToStr(Total));
end;

procedure DeInit;
begin
  WriteLn('calls ' + IntToStr(Calls) + ' avg ' + FloatToStr(Avg));
end;

begin
end.
