% The coupled models of ../shared/logs/gun_loader_crew.log, written from its messages: an input of a
% coupled model passed on to a child at the same time, or a child's output leaving its parent or reaching
% a sibling, is a link.
[top]
components : loader gunner
in : ammu_in safety_in elec_in manu_in emerg_in
out : amm_out
link : ammu_in ain@loader
link : safety_in sin@loader
link : elec_in ecin@gunner
link : manu_in min@gunner
link : emerg_in emin@gunner
link : out@gunner fin@loader
link : ammu_out@loader amm_out

[loader]
components : barrel@Barrel safety_loader@SafetyLoader
in : ain sin fin
out : ammu_out
link : ain ain@barrel
link : sin sin@safety_loader
link : out@safety_loader sfin@barrel
link : fin fin@barrel
link : ammu_out@barrel ammu_out

[gunner]
components : electric_fire@Trigger manual_fire@Trigger emergency_fire@Trigger fire@Fire
in : ecin min emin
out : out
link : ecin in@electric_fire
link : min in@manual_fire
link : emin in@emergency_fire
link : out@electric_fire ecin@fire
link : out@fire out
