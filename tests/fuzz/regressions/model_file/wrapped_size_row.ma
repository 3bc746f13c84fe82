[space]
dim : (536870912,536870912,64)
initialrowvalue : 0 1
