{ Trend: a sample news script for Pelorant.

  For every headline of the form "... <actual> vs <expected> expected" it shows the consensus, the actual figure
  and the deviation on the indicator panel, writes a line to the headline box and to the log, and signals:
  Buy when a US figure beats the consensus, Sell when it misses, No trade when it meets it or when the
  headline is not about the US. Other headlines are left alone.

  Compile:  glc compile Trend.pas Trend.exn   (or in Glossel, the script editor)  }

var
  Seen, Signals: Integer;

function Num(S: string): Double;
begin
  { The figures come as 263K, 3.7%, -0.3% or -4.259M. }
  S := StrReplace(S, 'K', '', True, False);
  S := StrReplace(S, 'M', '', True, False);
  S := StrReplace(S, '%', '', True, False);
  Result := StrToFloat(S);
end;

procedure Init;
begin
  Seen := 0;
  Signals := 0;
  regexp.Pattern := '(-?[0-9]+(\.[0-9]+)?[KM%]?) vs (-?[0-9]+(\.[0-9]+)?[KM%]?) expected';
  lbl1.Caption := 'cns: ';
  WriteLn('Trend is watching the news');
end;

procedure Start(Headline, Source: string);
var
  Actual, Expected, Deviation: Double;
begin
  Seen := Seen + 1;
  if not regexp.Match(Headline) then Exit;
  Actual := Num(regexp.Sub[1]);
  Expected := Num(regexp.Sub[3]);
  Deviation := Actual - Expected;
  lbl1.Caption := 'cns: ' + regexp.Sub[3];
  lbl2.Caption := 'act: ' + regexp.Sub[1];
  lbl3.Caption := ' dev: ' + FloatToStrFixedS(2, Deviation);
  WriteLnLog(Source + ' deviation ' + FloatToStrFixedS(2, Deviation) + ' in: ' + Headline);
  if Copy(Headline, 1, 3) <> 'US ' then
    NoTrade
  else if Deviation > 0 then
    Buy
  else if Deviation < 0 then
    Sell
  else
    NoTrade;
  Signals := Signals + 1;
  WriteLn('Trend: ' + Source + ' ' + FloatToStrFixedS(2, Deviation) + ', signal ' + IntToStr(LastSignal));
end;

procedure DeInit;
begin
  WriteLn('Trend saw ' + IntToStr(Seen) + ' headlines and gave ' + IntToStr(Signals) + ' signals');
end;

begin
end.
