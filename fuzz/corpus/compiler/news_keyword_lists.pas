{ A typical trader's filter: keyword lists for bullish and bearish news,
  matched on the upper-cased headline; one signal per headline; counters
  kept in globals across Start calls and reported at the end. }
const
  BullWords = 'BEATS,UPGRADE,RAISES GUIDANCE,RECORD PROFIT,APPROVAL';
  BearWords = 'MISSES,DOWNGRADE,CUTS GUIDANCE,PROBE,RECALL';

var
  Bulls, Bears: TStringList;
  Seen, Longs, Shorts: Integer;

function FirstMatch(const U: string; Words: TStringList): string;
var i: Integer;
begin
  Result := '';
  for i := 0 to Words.Count - 1 do
    if Pos(Words[i], U) > 0 then
    begin
      Result := Words[i];
      Exit;
    end;
end;

procedure Init;
begin
  Bulls := TStringList.Create;
  Bulls.CommaText := '"' + StrReplace(BullWords, ',', '","', True, False) + '"';
  Bears := TStringList.Create;
  Bears.CommaText := '"' + StrReplace(BearWords, ',', '","', True, False) + '"';
  WriteLnLog('filter ready: ' + IntToStr(Bulls.Count) + ' bull and ' + IntToStr(Bears.Count) + ' bear words');
end;

procedure Start(Headline, Source: string);
var
  U, hitBull, hitBear: string;
begin
  Seen := Seen + 1;
  U := UpperCase(Headline);
  hitBull := FirstMatch(U, Bulls);
  hitBear := FirstMatch(U, Bears);
  if (hitBull <> '') and (hitBear <> '') then
  begin
    WriteLn('mixed news (' + hitBull + ' / ' + hitBear + '), standing aside');
    NoTrade;
  end
  else if hitBull <> '' then
  begin
    Longs := Longs + 1;
    WriteLn('BUY on ' + hitBull + ': ' + Headline);
    Buy;
  end
  else if hitBear <> '' then
  begin
    Shorts := Shorts + 1;
    WriteLn('SELL on ' + hitBear + ': ' + Headline);
    Sell;
  end;
end;

procedure DeInit;
begin
  WriteLnLog('seen=' + IntToStr(Seen) + ' longs=' + IntToStr(Longs) + ' shorts=' + IntToStr(Shorts));
  Bulls.Free;
  Bears.Free;
end;

begin
end.
