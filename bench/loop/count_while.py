x = 0
i = 1
while i <= 10000000:
    x = x + 1
    i = i + 1
print("x =", x)
