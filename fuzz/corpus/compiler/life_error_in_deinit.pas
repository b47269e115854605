{ An error in DeInit after all Start calls: the output so far stays, then
  the error line, exit code 2. }
var Total: Integer;

procedure Start(Headline, Source: string);
begin
  Total := Total + StrToInt(Headline);
  WriteLn('total ' + IntToStr(Total));
end;

procedure DeInit;
var zero: Integer;
begin
  WriteLn('average ' + IntToStr(Total div zero));
end;

begin
end.
