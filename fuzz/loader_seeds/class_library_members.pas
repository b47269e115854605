{ Members of the class libraries kept on objects that are not windows: bitmaps, pictures, size constraints. }
var bm: TBitmap; pic: TPicture; c: TSizeConstraints; p: TPoint; f: TForm; i: Integer;
procedure Changed(Sender: TObject); begin WriteLn('changed'); end;
begin
  bm := TBitmap.Create; bm.Width := 16; bm.Height := 8; bm.Monochrome := True; bm.OnChange := @Changed;
  if bm.OnChange <> nil then WriteLn(IntToStr(bm.Width * bm.Height));
  try bm.LoadFromFile('x.bmp'); except WriteLn(ExceptionParam); end;
  pic := TPicture.Create; pic.Bitmap := bm;
  if pic.Bitmap = bm then WriteLn('same bitmap');
  c := TSizeConstraints.Create; c.MaxWidth := 300; c.MinHeight := 20;
  for i := 1 to 3 do c.MaxWidth := c.MaxWidth + i;
  WriteLn(IntToStr(c.MaxWidth) + ' ' + IntToStr(c.MinHeight));
  p.X := 3; p.Y := 4;
  try f := TForm.CreateNew(nil, 0); p := f.ClientToScreen(p); except WriteLn(ExceptionParam); end;
  bm.Free; pic.Free; c.Free;
end.
