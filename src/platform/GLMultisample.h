#pragma once
#include <GLES/gl.h>

// Multisampled drawing for the GL ES 1.1 context, which has no entry points of
// its own for it. Called with the drawing context current.

// The most samples a renderbuffer can have; 0 where the GL cannot multisample.
GLint ccglMaxSamples();
// Gives the renderbuffer bound to `target` storage of `samples` samples.
void ccglRenderbufferStorageMultisample(GLenum target, GLsizei samples, GLenum format,
                                        GLsizei width, GLsizei height);
// Resolves the colour attachment of `readFramebuffer` (multisampled) into that
// of `drawFramebuffer`, which is left bound.
void ccglResolveMultisampleFramebuffer(GLuint readFramebuffer, GLuint drawFramebuffer);
// Lets go of what multisampling kept for the current context, before it goes.
void ccglReleaseMultisampling();
