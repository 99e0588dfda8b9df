find_package(benchmark REQUIRED)
# Each bench/*.cpp is one benchmark program, linked against the whole engine.
file(GLOB bench_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(src ${bench_srcs})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_link_libraries(bench_${name} PRIVATE lumo_app benchmark::benchmark)
endforeach()

# The frame against the GL floor: the whole program with its GL entry points
# wrapped at link time, so that one frame's calls can be recorded and replayed.
file(GLOB replay_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/gl_replay/*.cpp)
add_executable(bench_gl_replay ${replay_srcs})
target_include_directories(bench_gl_replay PRIVATE ${CMAKE_SOURCE_DIR}/bench/gl_replay)
target_link_libraries(bench_gl_replay PRIVATE lumo_app)
# Every GL function the engine calls; bench/gl_replay/GLWrappers.cpp wraps each.
set(wrapped_gl
  glActiveTexture glBindBuffer glBindTexture glBlendFunc glBufferData glClear glClearColor
  glClearDepthf glClearStencil glClientActiveTexture glColor4f glColor4ub glColorPointer
  glCompressedTexImage2D glCopyTexSubImage2D glCullFace glDeleteBuffers glDeleteTextures
  glDepthFunc glDepthMask glDisable glDisableClientState glDrawArrays glDrawElements glEnable
  glEnableClientState glFinish glFlush glFrontFace glFrustumf glGenBuffers glGenTextures
  glGetBooleanv glGetError glGetFloatv glGetIntegerv glGetLightfv glGetMaterialfv glGetString
  glHint glIsEnabled glLightModelfv glLightf glLightfv glLineWidth glLoadIdentity glLoadMatrixf
  glMaterialf glMaterialfv glMatrixMode glMultMatrixf glNormalPointer glOrthof glPixelStorei
  glPointSizePointerOES glPopMatrix glPushMatrix glReadPixels glRotatef glScissor glShadeModel
  glTexCoordPointer glTexImage2D glTexParameteri glTranslatef glVertexPointer glViewport)
list(TRANSFORM wrapped_gl PREPEND "LINKER:--wrap=")
target_link_options(bench_gl_replay PRIVATE ${wrapped_gl})
