{ WideString and UnicodeString hold the same ASCII text as string; they
  index, copy, compare and convert to and from string. }
var
  w: WideString;
  u: UnicodeString;
  wc: WideChar;
  s: string;
begin
  w := 'abc';
  s := w;
  w := w + s;
  WriteLn('concat=' + w + ' len=' + IntToStr(Length(w)));
  wc := w[2];
  WriteLn('index=' + wc);
  w[1] := 'Z';
  WriteLn('write=' + w + ' copy=' + Copy(w, 2, 2) + ' pos=' + IntToStr(Pos('c', w)));
  if w = 'Zbcabc' then WriteLn('equal to literal');
  if w < 'Zc' then WriteLn('less than Zc');
  Delete(w, 1, 1);
  Insert('12', w, 2);
  WriteLn('edited=' + w);
  wc := 'q';
  w := w + wc;
  u := w;
  WriteLn('unicode=' + u + ' len=' + IntToStr(Length(u)));
  s := u;
  WriteLn('back to string=' + s);
end.
