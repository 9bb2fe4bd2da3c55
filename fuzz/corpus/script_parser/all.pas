uses 'u';
const N = -2; var a, b: Integer = 1; c: array[1..3, 5] of String;
procedure P(var x: Integer; const s: String); begin x := x shl 1 end;
begin if a >= b then P(a, 'it''s'#13) else c[1] := [1, 2..3]; for a := 10 downto 1 do ; case a of 1: b := not b; else end; try x.y[2](3) except end; repeat until $1F <> 1.5e3; with a do while a < b do a := a + 1 end. { c } (* d *) // e
