{ The optional program header, comments of all three kinds and a main block
  that is the only code of the script. }
program NewsFilter_v2;

// line comment
(* old-style comment *)
{ brace comment }

begin
  WriteLn('program header accepted');
  WriteLn('comments (* inside *) a string stay text { too } // also');
end.
