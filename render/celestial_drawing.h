// Choosing how finely a planet's relief model is drawn.
#pragma once

// Relief level for a distance measure: -1 (a plain sphere) beyond 150, 0 beyond 100,
// 1 beyond 55, 2 (finest) nearer. Each bound belongs to the nearer, finer level.
int reliefLevelForDistance(float distance);
