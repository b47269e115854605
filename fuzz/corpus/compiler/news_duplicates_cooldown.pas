{ Keeps the last headlines in a TStringList to skip repeats, trades at most
  once per three headlines (a cool-down counted in calls), and cancels when
  a headline says the story was wrong. }
var
  Recent: TStringList;
  CallNo, LastTradeCall: Integer;

procedure Init;
begin
  Recent := TStringList.Create;
  LastTradeCall := -100;
end;

function IsRepeat(const key: string): Boolean;
begin
  Result := Recent.IndexOf(key) >= 0;
  if not Result then
  begin
    Recent.Add(key);
    if Recent.Count > 4 then Recent.Delete(0);
  end;
end;

procedure Start(Headline, Source: string);
var
  key: string;
begin
  CallNo := CallNo + 1;
  key := Trim(UpperCase(Headline));
  if IsRepeat(key) then
  begin
    WriteLn(IntToStr(CallNo) + ': repeat ignored');
    Exit;
  end;
  if (Pos('CORRECTION', key) = 1) or (Pos('RETRACTED', key) > 0) then
  begin
    WriteLn(IntToStr(CallNo) + ': story withdrawn');
    CancelTrade;
    Exit;
  end;
  if Pos('RATE CUT', key) > 0 then
  begin
    if CallNo - LastTradeCall < 3 then
      WriteLn(IntToStr(CallNo) + ': cooling down since ' + IntToStr(LastTradeCall))
    else
    begin
      LastTradeCall := CallNo;
      WriteLn(IntToStr(CallNo) + ': trade');
      Sell;
    end;
  end;
end;

procedure DeInit;
begin
  WriteLnLog('remembered: ' + Recent.CommaText);
  Recent.Free;
end;

begin
end.
