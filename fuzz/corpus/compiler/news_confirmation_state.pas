{ A two-step strategy kept in globals across Start calls: a rumour arms a
  pending trade for one symbol, a confirming headline within the next three
  calls fires it (strong signal when the confirmation is official), a
  denial or a timeout disarms it.  A static array of symbols is filled in
  Init because typed constants are not available. }
const
  MaxWait = 3;
var
  Symbols: array[0..3] of string;
  Pending: string;
  PendingSide, Waited: Integer;

procedure Init;
begin
  Symbols[0] := 'EUR';
  Symbols[1] := 'GBP';
  Symbols[2] := 'JPY';
  Symbols[3] := 'GOLD';
  Pending := '';
end;

function SymbolIn(const U: string): string;
var i: Integer;
begin
  Result := '';
  for i := Low(Symbols) to High(Symbols) do
    if Pos(Symbols[i], U) > 0 then
    begin
      Result := Symbols[i];
      Break;
    end;
end;

procedure Disarm(const why: string);
begin
  WriteLnLog('disarmed ' + Pending + ': ' + why);
  Pending := '';
  PendingSide := 0;
  Waited := 0;
end;

procedure Start(Headline, Source: string);
var
  U, sym: string;
begin
  U := UpperCase(Headline);
  sym := SymbolIn(U);
  if Pending <> '' then
  begin
    Waited := Waited + 1;
    if (sym = Pending) and (Pos('DENIES', U) > 0) then
    begin
      Disarm('denied');
      CancelTrade;
      Exit;
    end;
    if (sym = Pending) and ((Pos('CONFIRMS', U) > 0) or (Pos('OFFICIAL', U) > 0)) then
    begin
      if PendingSide > 0 then
      begin
        if Pos('OFFICIAL', U) > 0 then StrongBuy else Buy;
      end
      else
      begin
        if Pos('OFFICIAL', U) > 0 then StrongSell else Sell;
      end;
      WriteLn('fired ' + Pending + ' after ' + IntToStr(Waited) + ' call(s), signal ' + IntToStr(LastSignal));
      Disarm('done');
      Exit;
    end;
    if Waited >= MaxWait then Disarm('timeout');
  end;
  if (sym <> '') and (Pos('RUMOUR', U) > 0) then
  begin
    Pending := sym;
    Waited := 0;
    if Pos('INTERVENTION', U) > 0 then PendingSide := -1 else PendingSide := 1;
    WriteLn('armed ' + Pending + ' side ' + IntToStrS(PendingSide));
  end;
end;

begin
end.
