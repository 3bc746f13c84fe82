% The model of ../shared/logs/falling_mass_3d_8x8x8.log, written from what the log shows: one 3D cell space
% fallrock of 8 x 8 x 8 cells (its I lines name fallrock(0,0,0) to fallrock(7,7,7)). A cell reports only
% when it changes, and every report is 1 (rock); a cell that never reports is empty air, 0.
[top]
components : fallrock

[fallrock]
type : cell
dim : (8,8,8)
delay : transport
border : nowrapped
initialvalue : 0
localtransition : fall-rule

[fall-rule]
% The rules are the simulator's business; the viewer passes them over.
rule : 1 1 { (0,0,0) = 0 and (0,-1,0) = 1 }
rule : { (0,0,0) } 1 { t }
