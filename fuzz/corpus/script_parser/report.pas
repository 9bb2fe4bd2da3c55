begin

end.
