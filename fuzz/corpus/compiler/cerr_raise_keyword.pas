{ There is no raise statement; scripts call RaiseException. }
begin
  raise Exception.Create('boom');
end.
