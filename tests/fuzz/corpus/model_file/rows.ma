% The model of ../shared/logs/morph_filter_2d_8x8.log, written from what the log shows: an 8 x 8 opening
% filter (erosion, then dilation) over a binary picture. A cell reports only when it changes; the cells
% that report at the first step (0 where erosion removed them, 2 where they survived) are the picture's
% foreground, 1, and every other cell is background, 0.
[top]
components : opening

[opening]
type : cell
dim : (8,8)
initialvalue : 0
initialrowvalue : 0 00011100
initialrowvalue : 1 00011100
initialrowvalue : 2 00011100
initialrowvalue : 3 00110000
initialrowvalue : 4 11100000
initialrowvalue : 5 11100000
initialrowvalue : 6 11100000
localtransition : opening-rule
