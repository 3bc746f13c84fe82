% sizes whose products pass 2 to the 32nd and 64th, each count within nine digits
[wrap64]
dim : (536870912,536870912,64)
initialvalue : 0
initialrowvalue : 0 1
[wrap]
dim : (999999827,970881435,19)
initialcellsvalue : run.val
(0,166924,0) = 42
[big2d]
width : 999999999
height : 999999999
initialmapvalue : run.map
[edge]
dim : (16777216,1,1)
[over]
dim : (4096,4097)
