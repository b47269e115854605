{ TComponent: owners and what they own, names and tags, indexes; a TCollectionItem of no collection. }
var a, b, c, d: TComponent; ci: TCollectionItem;
procedure R(const w: string); begin WriteLn(w + ' ' + IntToStr(Ord(ExceptionType)) + ' [' + ExceptionParam + ']'); end;
begin
  a := TComponent.Create(nil); a.Name := 'Owner1';
  b := TComponent.Create(a); b.Name := 'Kid'; b.Tag := 7;
  c := TComponent.Create(a);
  WriteLn(IntToStr(a.ComponentCount) + ' ' + IntToStr(b.ComponentIndex) + ' ' + IntToStr(c.ComponentIndex) + ' [' + c.Name + '] ' + IntToStr(b.Tag));
  if a.FindComponent('kid') = b then WriteLn('found kid');
  if a.FindComponent('nobody') = nil then WriteLn('no nobody');
  try c.Name := 'KID'; except R('dup'); end;
  try c.Name := 'a b'; except R('bad'); end;
  try c.Name := '9x'; except R('digit'); end;
  c.Name := 'Other_2';
  c.Name := '';
  if b.Owner = a then WriteLn('owner ok');
  if a.Owner = nil then WriteLn('a has none');
  if a.Components[1] = c then WriteLn('second is c');
  try d := a.Components[5]; except R('index'); end;
  try d := a.Components[-1]; except R('negative'); end;
  c.ComponentIndex := 0;
  if a.Components[0] = c then WriteLn('moved');
  try c.ComponentIndex := 9; except R('bad index'); end;
  WriteLn(IntToStr(c.ComponentIndex));
  WriteLn(IntToStr(a.ComponentState) + ' ' + IntToStr(a.DesignInfo));
  a.DesignInfo := 77; WriteLn(IntToStr(a.DesignInfo));
  d := TComponent.Create(nil);
  WriteLn(IntToStr(d.ComponentIndex) + ' ' + IntToStr(d.ComponentCount));
  a.DestroyComponents;
  WriteLn(IntToStr(a.ComponentCount));

  a.Free;
  ci := TCollectionItem.Create(nil);
  WriteLn(IntToStr(ci.Index) + ' [' + ci.DisplayName + '] ' + IntToStr(ci.ID));
  ci.DisplayName := 'named';
  ci.Index := 3;
  WriteLn(IntToStr(ci.Index) + ' [' + ci.DisplayName + ']');
  if ci.Collection = nil then WriteLn('no collection');
  ci.Free;
end.
