// Spheres: GLU quadrics made afresh on every call, and the relief spheres with their
// levels of detail. Both leave the current colour white and the matrix as they found it.
#pragma once

// A sphere with its poles on y (north at +y) and its texture seam on +x; detail is
// both the number of slices and of stacks. Untextured, the texture state is left
// exactly as the caller had it; textured, GL_TEXTURE_2D is off afterwards.
void drawSphere(double radius, int detail, bool textured, unsigned int texture);

// Relief set `set` at `level` 0..2 (coarse to fine), scaled; level -1 stands for a
// plain textured sphere of the reliefs' base radius 4.
void drawRelief(float scale, int set, int level, unsigned int texture);
