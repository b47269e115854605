{ The six signal procedures and LastSignal / Signaled.  The state is not
  reset between the main block and Init; it is reset before every Start
  call and before DeInit; the last signal of a call wins. }
procedure Show(const where: string);
begin
  if Signaled then
    WriteLn(where + ': signaled, last=' + IntToStr(LastSignal))
  else
    WriteLn(where + ': nothing, last=' + IntToStr(LastSignal));
end;

procedure Init;
begin
  Show('init sees main');
  CancelTrade;
  Show('init');
end;

procedure Start(Headline, Source: string);
begin
  Show('start ' + Headline + ' before');
  if Headline = 'buy' then Buy
  else if Headline = 'strongbuy' then StrongBuy
  else if Headline = 'sell' then Sell
  else if Headline = 'strongsell' then StrongSell
  else if Headline = 'notrade' then NoTrade
  else if Headline = 'cancel' then CancelTrade
  else if Headline = 'both' then
  begin
    StrongBuy;
    Sell;
    NoTrade;
  end;
  Show('start ' + Headline + ' after');
end;

procedure DeInit;
begin
  Show('deinit');
end;

begin
  Show('main start');
  Buy;
  Sell;
  Show('main');
end.
