x = 0
for i = 1, 10000000 do
  x = x + 1
end
print("x = " .. x)
