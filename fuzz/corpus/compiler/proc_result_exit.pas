{ Result as a variable (read back, built up), Exit from procedures and
  functions at several depths, functions used as statements. }
var calls: Integer;

function Sum(n: Integer): Integer;
var i: Integer;
begin
  Result := 0;
  for i := 1 to n do Result := Result + i;
end;

function FirstDigit(const s: string): Integer;
var i: Integer;
begin
  Result := -1;
  for i := 1 to Length(s) do
    if (s[i] >= '0') and (s[i] <= '9') then
    begin
      Result := Ord(s[i]) - Ord('0');
      Exit;
    end;
end;

procedure Count(stop: Boolean);
begin
  calls := calls + 1;
  if stop then Exit;
  calls := calls + 100;
end;

function Bump: Boolean;
begin
  calls := calls + 1000;
  Result := True;
end;

function Nothing: string;
begin
end;

begin
  WriteLn('sum ' + IntToStr(Sum(10)) + ' empty ' + IntToStr(Sum(0)));
  WriteLn('digit ' + IntToStr(FirstDigit('abc7x9')) + ' none ' + IntToStr(FirstDigit('abc')));
  Count(True); Count(False);
  WriteLn('calls ' + IntToStr(calls));
  Bump;
  WriteLn('function as statement ' + IntToStr(calls));
  WriteLn('unassigned result [' + Nothing + ']');
  WriteLn('before exit in main');
  Exit;
  WriteLn('not reached');
end.
