% Names its own bytes as its cells, map and palette files.
[space]
type : cell
dim : (4,3,2)
initialvalue : 1.5
initialrowvalue : 2 0?9
initialcellsvalue : run.val
initialmapvalue : run.map
(1,2,1) = 7
(0,0) = ?
3
-2.5e3
[0;1] 255 0 0
