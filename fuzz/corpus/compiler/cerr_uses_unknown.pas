{ Only the built-in library is available; any uses clause naming another
  unit fails. }
program WithUses;
uses SysUtils;
begin
end.
