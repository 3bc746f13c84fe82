[space]
dim : (999999827,970881435,19)
initialcellsvalue : run.val
(0,166924,0) = 42
