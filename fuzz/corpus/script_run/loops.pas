var i, s, n: Integer; a: array[0..99] of Integer; t: String;
function Fib(k: Integer): Integer; begin if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2); end;
begin for i := 0 to 99 do a[i] := i; s := 0; for i := 1 to 500 do s := (s + a[i mod 100] * 3) mod 997;
n := Fib(12); t := ''; for i := 1 to 50 do t := t + Chr(65 + i mod 26); end.
