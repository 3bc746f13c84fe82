key : outside
[top
[Top]
Components : a@A b@ @c
link : x@a
link : x@ y
In : p q
dim : (0,4)
dim : (70000,70000,70000)
width : 3
[grid]
width : 5
height : 2
initialvalue : nan
initialrowvalue : 7 1
initialrowvalue : 1 123456
initialcellsvalue : /nonexistent/x.val
