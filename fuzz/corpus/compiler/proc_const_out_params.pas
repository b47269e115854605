{ const and out parameters: const is read-only inside, out writes back to
  the caller like var. }
var
  n, q, r: Integer;
  msg: string;

function Describe(const s: string; const k: Integer): string;
begin
  Result := s + '#' + IntToStr(k);
end;

procedure DivMod(a, b: Integer; out quot: Integer; out rem: Integer);
begin
  quot := a div b;
  rem := a mod b;
end;

procedure Greet(out text: string);
begin
  text := 'hello';
end;

begin
  n := 7;
  WriteLn(Describe('item', n));
  DivMod(17, 5, q, r);
  WriteLn('divmod ' + IntToStr(q) + ' ' + IntToStr(r));
  Greet(msg);
  WriteLn('out string ' + msg);
end.
