# Green sprouting sparkles where a carrot grows again: small bright seeds shoot
# up from the ground and slow down, with a few twinkling stars rising among them.
# Placed at effect scale 17 and played at half speed: about two seconds on screen.

emitter
texture dot 16 16
blending add
particles_limit 100
spawn_time 0.03 0.05
spawn_particles 2 3
spawn_position -0.3 0 0 0.3 0.05 0
spawn_direction -0.25 1 0 0.25 1 0
particles_acceleration 0 -3 0
particles_rotation 0 0
particle_random_rot 0
particles_speed 3.5 5.5
particles_timelife 0.4 0.65
particles_scale 0.12 0.25
particles_color_start 120 255 90 190 255 140
particles_color_end 30 150 20 60 190 40
billboarding 3
time_delay 0
time_step 0.25
loop 0

emitter
texture star 16 16
blending add
particles_limit 20
spawn_time 0.08 0.12
spawn_particles 1 1
spawn_position -0.35 0 0 0.35 0.3 0
spawn_direction 0 1 0 0 1 0
particles_acceleration 0 0 0
particles_rotation 0 0
particle_random_rot 1
particles_speed 1.5 2.5
particles_timelife 0.45 0.7
particles_scale 0.3 0.45
particles_color_start 220 255 180 255 255 220
particles_color_end 80 200 60 120 230 90
billboarding 3
time_delay 0
time_step 0.3
loop 0
