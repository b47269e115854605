// A release strategy: trade the US payrolls figure the moment it is listed.
//
// The headline carries the actual figure and the forecast, for example
//   "US Nonfarm Payrolls Actual 250K vs Expected 180K"
// A surprise of more than Threshold thousand jobs above the forecast buys, as far below sells; anything else, and
// every other headline, is left alone.
const
  Threshold = 50;

var
  Trades: Integer;

procedure Init;
begin
  // regexp is one of the ten expressions the program offers; set its pattern once, use it for every headline.
  regexp.Pattern := 'Nonfarm Payrolls Actual (-?[0-9]+)K vs Expected (-?[0-9]+)K';
  Trades := 0;
end;

procedure Start(Headline, Source: string);
var
  Actual, Expected, Surprise: Integer;
begin
  if not regexp.Match(Headline) then
    Exit;
  Actual := StrToInt(regexp.Sub[1]);
  Expected := StrToInt(regexp.Sub[2]);
  Surprise := Actual - Expected;
  if Surprise > Threshold then
  begin
    Buy;
    Trades := Trades + 1;
    WriteLn('Payrolls beat by ' + IntToStr(Surprise) + 'K (' + Source + '): buy');
  end
  else if Surprise < -Threshold then
  begin
    Sell;
    Trades := Trades + 1;
    WriteLn('Payrolls missed by ' + IntToStr(-Surprise) + 'K (' + Source + '): sell');
  end
  else
    WriteLn('Payrolls in line (' + IntToStr(Surprise) + 'K): no trade');
end;

procedure DeInit;
begin
  WriteLnLog('Keyword strategy ends after ' + IntToStr(Trades) + ' trade(s)');
end;

begin
end.
