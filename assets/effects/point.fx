# The golden burst where a rabbit takes a carrot: a fountain of warm sparks that
# fall a little, and a few twinkling stars. Placed at effect scale 17 and played
# at half speed, so it lasts about a second on screen.

emitter
texture dot 16 16
blending add
particles_limit 120
spawn_time 0.02 0.03
spawn_particles 8 12
spawn_position -0.15 -0.15 0 0.15 0.15 0
spawn_direction -1 -1 0 1 1 0
particles_acceleration 0 -3 0
particles_rotation 0 0
particle_random_rot 0
particles_speed 2.5 4.5
particles_timelife 0.25 0.45
particles_scale 0.15 0.3
particles_color_start 255 215 80 255 240 150
particles_color_end 255 120 10 255 160 40
billboarding 3
time_delay 0
time_step 0.06
loop 0

emitter
texture star 16 16
blending add
particles_limit 20
spawn_time 0.05 0.08
spawn_particles 2 3
spawn_position -0.3 -0.3 0 0.3 0.3 0
spawn_direction -1 -1 0 1 1 0
particles_acceleration 0 0 0
particles_rotation 0 0
particle_random_rot 1
particles_speed 0.5 1.2
particles_timelife 0.35 0.6
particles_scale 0.35 0.55
particles_color_start 255 250 200 255 255 230
particles_color_end 255 190 60 255 210 90
billboarding 3
time_delay 0
time_step 0.1
loop 0
