{ RaiseException with erCustomError ends the run with the bare text; an
  erException kind adds the "Exception: " prefix. }
procedure Start(Headline, Source: string);
begin
  WriteLn('line ' + Headline);
  if Headline = 'wrapped' then RaiseException(erException, 'wrapped message');
  if Headline = 'custom' then RaiseException(erCustomError, 'custom message');
end;

begin
end.
