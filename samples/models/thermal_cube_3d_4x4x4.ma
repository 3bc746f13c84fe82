% The model of ../shared/logs/thermal_cube_3d_4x4x4.log, written from what the log shows: a 4 x 4 x 4 cell
% space surface fed by two generators through top's ports inputheat and inputcold, each of which reaches
% two cells through the space's port in. The log does not say the starting temperature, so none is given.
[top]
components : surface genheat@Generator gencold@Generator
link : out@genheat inputheat@surface
link : out@gencold inputcold@surface

[surface]
type : cell
dim : (4,4,4)
in : inputheat inputcold
link : inputheat in@surface(2,2,1)
link : inputheat in@surface(3,3,0)
link : inputcold in@surface(1,3,3)
link : inputcold in@surface(3,3,2)
localtransition : heat-rule
