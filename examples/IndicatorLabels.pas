// Indicator labels: counts the headlines about each currency and shows the counts on the panel's labels, the
// busiest currency in red.
var
  Counts: array of Integer;
  Names: array of string;

procedure Show;
var
  i, Busiest: Integer;
begin
  Busiest := 0;
  for i := 1 to 3 do
    if Counts[i] > Counts[Busiest] then
      Busiest := i;
  lbl1.Caption := Names[0] + ' ' + IntToStr(Counts[0]);
  lbl2.Caption := Names[1] + ' ' + IntToStr(Counts[1]);
  lbl3.Caption := Names[2] + ' ' + IntToStr(Counts[2]);
  lbl4.Caption := Names[3] + ' ' + IntToStr(Counts[3]);
  lbl1.Font.Color := clBlack;
  lbl2.Font.Color := clBlack;
  lbl3.Font.Color := clBlack;
  lbl4.Font.Color := clBlack;
  case Busiest of
    0: lbl1.Font.Color := clRed;
    1: lbl2.Font.Color := clRed;
    2: lbl3.Font.Color := clRed;
    3: lbl4.Font.Color := clRed;
  end;
end;

procedure Init;
begin
  SetLength(Counts, 4);
  SetLength(Names, 4);
  Names[0] := 'USD';
  Names[1] := 'EUR';
  Names[2] := 'GBP';
  Names[3] := 'JPY';
  Show;
end;

procedure Start(Headline, Source: string);
var
  i: Integer;
  Upper: string;
begin
  Upper := UpperCase(Headline);
  for i := 0 to 3 do
    if Pos(Names[i], Upper) > 0 then
      Counts[i] := Counts[i] + 1;
  if Pos('FED', Upper) > 0 then
    Counts[0] := Counts[0] + 1;
  if Pos('ECB', Upper) > 0 then
    Counts[1] := Counts[1] + 1;
  Show;
end;

begin
end.
