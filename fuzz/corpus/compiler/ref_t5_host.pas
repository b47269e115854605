{ From the reference runner's own tests: host API and the Init / Start / DeInit life cycle.
  Run with t5_host.lines; Start is called once per line with Source='TEST'. }
var
  Calls, Buys, Sells: Integer;
  Seen: string;

procedure Init;
begin
  { globals keep the values set by the main block }
  WriteLn('init seen=' + Seen);
  Calls := 0;
end;

procedure Report(const tag: string);
begin
  if Signaled then
    WriteLnLog(tag + ' signaled code=' + IntToStr(LastSignal))
  else
    WriteLnLog(tag + ' no signal code=' + IntToStr(LastSignal));
end;

procedure Start(Headline, Source: string);
var
  U, pct: string;
  p, k: Integer;
begin
  Calls := Calls + 1;
  U := UpperCase(Headline);
  WriteLn(IntToStrS(Calls) + ' [' + Source + '] ' + Headline);
  Report('before');                       { state is reset for every Start }

  if Pos('STRONG BUY', U) > 0 then StrongBuy
  else if Pos('STRONG SELL', U) > 0 then StrongSell
  else if Pos('UPGRADE', U) > 0 then begin Buy; Buys := Buys + 1; end
  else if Pos('DOWNGRADE', U) > 0 then begin Sell; Sells := Sells + 1; end
  else if Pos('HALT', U) > 0 then CancelTrade
  else if U = '' then NoTrade;

  { the last signal of a call wins }
  if Pos('REVERSAL', U) > 0 then
  begin
    Buy;
    Sell;
  end;
  Report('after');

  { extract a trailing percentage like "+3.5%" and reformat it }
  p := Pos('%', Headline);
  if p > 0 then
  begin
    k := p - 1;
    while (k > 0) and (Pos(Copy(Headline, k, 1), '0123456789.+-') > 0) do k := k - 1;
    pct := Copy(Headline, k + 1, p - k - 1);
    WriteLn('pct=' + pct + ' cleaned=' + StrReplace(StrReplace(pct, '+', '', True, False), '.', ',', False, False));
  end;
end;

procedure DeInit;
begin
  WriteLnLog('calls=' + IntToStrS(Calls) + ' buys=' + IntToStr(Buys) + ' sells=' + IntToStr(Sells));
end;

begin
  Seen := 'main';
  WriteLn('main block runs first');

  { IntToStrS: '+' for v >= 1 only }
  WriteLn('intstrs ' + IntToStrS(0) + ' ' + IntToStrS(1) + ' ' + IntToStrS(-1) + ' ' + IntToStrS(2147483647) + ' ' + IntToStrS(-2147483647));

  { FloatToStrFixed: exact Currency, half away from zero; negative Digits = 0 }
  WriteLn('fixed ' + FloatToStrFixed(2, 1.005) + ' ' + FloatToStrFixed(2, -1.005) + ' ' + FloatToStrFixed(0, 2.5)
    + ' ' + FloatToStrFixed(0, -0.4) + ' ' + FloatToStrFixed(6, 3.14159) + ' ' + FloatToStrFixed(-1, 7.5)
    + ' ' + FloatToStrFixed(2, 1234567.891) + ' ' + FloatToStrFixed(3, 0.0005));
  { FloatToStrFixedS: '+' when Value > 0 (decided on the value, not the text) }
  WriteLn('fixeds ' + FloatToStrFixedS(2, 1.5) + ' ' + FloatToStrFixedS(2, 0) + ' ' + FloatToStrFixedS(2, -1.5)
    + ' ' + FloatToStrFixedS(1, 0.04) + ' ' + FloatToStrFixedS(1, -0.04));

  { StrReplace(S, Old, New, ReplaceAll, IgnoreCase) }
  WriteLn('replace all-ci=' + StrReplace('Hello hello HELLO', 'hello', 'x', True, True)
    + ' all-cs=' + StrReplace('Hello hello HELLO', 'hello', 'x', True, False)
    + ' first=' + StrReplace('a-b-c', '-', '+', False, False)
    + ' first-ci=' + StrReplace('xAbab', 'ab', '_', False, True)
    + ' grow=' + StrReplace('aaa', 'a', 'aa', True, False)
    + ' delete=' + StrReplace('a, b, c', ', ', '', True, False)
    + ' empty-old=' + StrReplace('abc', '', 'z', True, False)
    + ' no-match=' + StrReplace('abc', 'x', 'y', True, True));

  { host routine names are case-insensitive like everything else }
  writeln('lower-case call');
  WRITELNLOG('upper-case call');
end.
