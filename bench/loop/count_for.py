x = 0
for i in range(1, 10000001):
    x = x + 1
print("x =", x)
