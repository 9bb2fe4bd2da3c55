var r: String; i, j: Integer; v: Variant;
procedure P(var x: Integer); begin try x := x + 1; if x > 3 then exit finally r := r + 'f' end end;
begin r := ''; i := 0; while i < 10 do begin P(i); if i = 5 then break; continue end;
repeat j := j + 1 until j >= 3; case j of 1..2: r := r + 'a'; 3: r := r + 'b' else r := r + 'c' end;
try v := StrToInt('x') except r := r + ExceptionMessage end; v := [1, 2..5]; if 3 in [1, 2..5] then r := r + 'in' end.
