% The model of ../shared/logs/water_spread_2d_25x25.log, written from what the log shows: a 25 x 25 plane
% (its I lines name plane(0,0) to plane(24,24)). Each cell takes the mean of its 3 x 3 neighbourhood, and
% at 1 s the nine cells around (6,6), (6,18), (18,6) and (18,18) report 0.44444 = 4/9: those four cells
% start with 4 units of water, every other cell dry.
[top]
components : plane

[plane]
type : cell
width : 25
height : 25
border : nowrapped
initialvalue : 0
initialcellsvalue : water_spread_2d_25x25.val
localtransition : spread-rule
