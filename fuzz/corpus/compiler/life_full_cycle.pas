{ The life cycle: main block, Init, Start once per headline (the source is
  'TEST'), DeInit.  Globals keep their values across all of them; locals
  of Start start fresh on every call. }
var
  Calls: Integer;
  Longest: string;
  Trail: TStringList;

procedure Init;
begin
  WriteLn('init: calls=' + IntToStr(Calls) + ' trail=' + IntToStr(Trail.Count));
  Trail.Add('init');
end;

procedure Start(Headline, Source: string);
var Local: Integer;
begin
  Local := Local + 1;
  Calls := Calls + 1;
  if Length(Headline) > Length(Longest) then Longest := Headline;
  Trail.Add(IntToStr(Calls));
  WriteLn('start #' + IntToStr(Calls) + ' local=' + IntToStr(Local) + ' source=' + Source + ' len=' + IntToStr(Length(Headline)) + ' [' + Headline + ']');
end;

procedure DeInit;
begin
  WriteLn('deinit: calls=' + IntToStr(Calls) + ' longest=' + Longest + ' trail=' + Trail.CommaText);
  Trail.Free;
end;

begin
  Trail := TStringList.Create;
  Trail.Add('main');
  WriteLn('main block');
end.
