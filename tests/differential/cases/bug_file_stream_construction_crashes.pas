{ TFileStream: made with each mode, written, read back, sought; a missing file; the handle. }
var f: TFileStream; s, t: string; n: Integer;
begin
  f := TFileStream.Create('/tmp/pelo_file_stream_case.bin', fmCreate);
  s := 'hello world';
  WriteLn(IntToStr(f.Write(s, 11)) + ' ' + IntToStr(f.Position) + ' ' + IntToStr(f.Size));
  if f.Handle >= 0 then WriteLn('has a handle');
  f.Free;
  f := TFileStream.Create('/tmp/pelo_file_stream_case.bin', fmOpenRead or fmShareDenyWrite);
  SetLength(t, 5);
  n := f.Read(t, 5);
  WriteLn(IntToStr(n) + ' [' + t + ']');
  WriteLn(IntToStr(f.Seek(-3, soFromEnd)));
  n := f.Read(t, 5);
  WriteLn(IntToStr(n) + ' [' + t + ']');
  WriteLn(IntToStr(f.Write(s, 3)));
  f.Free;
  f := TFileStream.Create('/tmp/pelo_file_stream_case.bin', fmOpenReadWrite);
  f.Position := 6;
  f.WriteBuffer(s, 5);
  f.Position := 0;
  SetLength(t, 11);
  f.ReadBuffer(t, 11);
  WriteLn('[' + t + ']');
  f.Free;
  try
    f := TFileStream.Create('/tmp/pelo_no_such_dir/none.bin', fmOpenRead);
  except
    WriteLn(IntToStr(Ord(ExceptionType)) + ' [' + ExceptionParam + ']');
  end;
end.
