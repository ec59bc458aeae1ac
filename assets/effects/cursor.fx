# The click sparkle: a quick puff of pale sparks and a ring flash where the
# player clicks. Played at effect scale 10 at full speed, so spawn offsets are
# 20 x position, speeds and sizes 10 x their values; gone in under 0.45 s.
# Emission windows stay above 0.1 s, the longest frame, so even a slow first
# frame still bursts.

emitter
texture star 16 16
blending add
particles_limit 60
spawn_time 0.02 0.03
spawn_particles 3 5
spawn_position -0.1 -0.1 0 0.1 0.1 0
spawn_direction -1 -1 0 1 1 0
particles_acceleration 0 0 0
particles_rotation 0 90
particle_random_rot 0
particles_speed 2 4
particles_timelife 0.15 0.3
particles_scale 0.2 0.45
particles_color_start 255 255 210 255 255 255
particles_color_end 120 200 255 170 225 255
billboarding 3
time_delay 0
time_step 0.12
loop 0

emitter
texture ring 32 32
blending add
particles_limit 1
spawn_time 1 1
spawn_particles 1 1
spawn_position 0 0 0 0 0 0
spawn_direction 0 0 0 0 0 0
particles_acceleration 0 0 0
particles_rotation 0 0
particle_random_rot 0
particles_speed 0 0
particles_timelife 0.18 0.18
particles_scale 0.9 0.9
particles_color_start 255 255 240 255 255 240
particles_color_end 140 200 255 140 200 255
billboarding 3
time_delay 0
time_step 0.12
loop 0
