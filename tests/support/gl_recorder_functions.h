// The OpenGL and GLU entry points the OpenGL call recorder interposes, one per
// line: ORVEX_GLREC(result, name, (parameters), (arguments), copy).
//
// `copy` names pointed-to floats that are copied into the record at the call
// (ORVEX_GLREC_FLOATS(pointer, count)) or is ORVEX_GLREC_NONE. The build
// derives its -Wl,--wrap list from the lines below, and the test
// gl_recorder_covers_framework fails when the framework or the scene uses an
// OpenGL or GLU function that is missing here: add it to this list.
//
// No include guard: the file is expanded once per use with a different
// definition of ORVEX_GLREC.

// ---- matrices and viewport
ORVEX_GLREC(void, glMatrixMode, (GLenum mode), (mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glLoadIdentity, (), (), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glPushMatrix, (), (), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glPopMatrix, (), (), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTranslated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glRotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z), (angle, x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glRotated, (GLdouble angle, GLdouble x, GLdouble y, GLdouble z), (angle, x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glScalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glScaled, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glLoadMatrixf, (const GLfloat* m), (m), ORVEX_GLREC_FLOATS(m, 16))
ORVEX_GLREC(void, glMultMatrixf, (const GLfloat* m), (m), ORVEX_GLREC_FLOATS(m, 16))
ORVEX_GLREC(void, glOrtho, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val, GLdouble far_val), (left, right, bottom, top, near_val, far_val), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glFrustum, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val, GLdouble far_val), (left, right, bottom, top, near_val, far_val), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glScissor, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height), ORVEX_GLREC_NONE)

// ---- immediate mode
ORVEX_GLREC(void, glBegin, (GLenum mode), (mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glEnd, (), (), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glVertex2f, (GLfloat x, GLfloat y), (x, y), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glVertex2i, (GLint x, GLint y), (x, y), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glVertex3d, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glVertex3fv, (const GLfloat* v), (v), ORVEX_GLREC_FLOATS(v, 3))
ORVEX_GLREC(void, glNormal3f, (GLfloat nx, GLfloat ny, GLfloat nz), (nx, ny, nz), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glNormal3fv, (const GLfloat* v), (v), ORVEX_GLREC_FLOATS(v, 3))
ORVEX_GLREC(void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexCoord2fv, (const GLfloat* v), (v), ORVEX_GLREC_FLOATS(v, 2))
ORVEX_GLREC(void, glColor3f, (GLfloat red, GLfloat green, GLfloat blue), (red, green, blue), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glColor4f, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha), (red, green, blue, alpha), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glColor3ub, (GLubyte red, GLubyte green, GLubyte blue), (red, green, blue), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glColor4ub, (GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha), (red, green, blue, alpha), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glColor4fv, (const GLfloat* v), (v), ORVEX_GLREC_FLOATS(v, 4))

// ---- capabilities and fragment state
ORVEX_GLREC(void, glEnable, (GLenum cap), (cap), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glDisable, (GLenum cap), (cap), ORVEX_GLREC_NONE)
ORVEX_GLREC(GLboolean, glIsEnabled, (GLenum cap), (cap), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glAlphaFunc, (GLenum func, GLclampf ref), (func, ref), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glDepthFunc, (GLenum func), (func), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glDepthMask, (GLboolean flag), (flag), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glColorMask, (GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha), (red, green, blue, alpha), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glCullFace, (GLenum mode), (mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glFrontFace, (GLenum mode), (mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glShadeModel, (GLenum mode), (mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glPolygonMode, (GLenum face, GLenum mode), (face, mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glPolygonOffset, (GLfloat factor, GLfloat units), (factor, units), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glLineWidth, (GLfloat width), (width), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glPointSize, (GLfloat size), (size), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glHint, (GLenum target, GLenum mode), (target, mode), ORVEX_GLREC_NONE)

// ---- clearing and buffers
ORVEX_GLREC(void, glClear, (GLbitfield mask), (mask), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha), (red, green, blue, alpha), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glClearDepth, (GLclampd depth), (depth), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glDrawBuffer, (GLenum mode), (mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glReadBuffer, (GLenum mode), (mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels), (x, y, width, height, format, type, pixels), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glFlush, (), (), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glFinish, (), (), ORVEX_GLREC_NONE)

// ---- lighting, materials, fog
ORVEX_GLREC(void, glLightf, (GLenum light, GLenum pname, GLfloat param), (light, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glLighti, (GLenum light, GLenum pname, GLint param), (light, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glLightfv, (GLenum light, GLenum pname, const GLfloat* params), (light, pname, params), ORVEX_GLREC_FLOATS(params, orvex_test::gl_light_value_count(pname)))
ORVEX_GLREC(void, glLightModeli, (GLenum pname, GLint param), (pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glLightModelfv, (GLenum pname, const GLfloat* params), (pname, params), ORVEX_GLREC_FLOATS(params, pname == GL_LIGHT_MODEL_AMBIENT ? 4 : 1))
ORVEX_GLREC(void, glMaterialf, (GLenum face, GLenum pname, GLfloat param), (face, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat* params), (face, pname, params), ORVEX_GLREC_FLOATS(params, orvex_test::gl_material_value_count(pname)))
ORVEX_GLREC(void, glColorMaterial, (GLenum face, GLenum mode), (face, mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glFogi, (GLenum pname, GLint param), (pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glFogf, (GLenum pname, GLfloat param), (pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glFogfv, (GLenum pname, const GLfloat* params), (pname, params), ORVEX_GLREC_FLOATS(params, pname == GL_FOG_COLOR ? 4 : 1))

// ---- textures and pixel store
ORVEX_GLREC(void, glGenTextures, (GLsizei n, GLuint* textures), (n, textures), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glDeleteTextures, (GLsizei n, const GLuint* textures), (n, textures), ORVEX_GLREC_NONE)
ORVEX_GLREC(GLboolean, glIsTexture, (GLuint texture), (texture), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glBindTexture, (GLenum target, GLuint texture), (target, texture), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexImage2D, (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid* pixels), (target, level, internalFormat, width, height, border, format, type, pixels), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* pixels), (target, level, xoffset, yoffset, width, height, format, type, pixels), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexParameterf, (GLenum target, GLenum pname, GLfloat param), (target, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexEnvi, (GLenum target, GLenum pname, GLint param), (target, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexEnvf, (GLenum target, GLenum pname, GLfloat param), (target, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glTexGeni, (GLenum coord, GLenum pname, GLint param), (coord, pname, param), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glPixelStorei, (GLenum pname, GLint param), (pname, param), ORVEX_GLREC_NONE)

// ---- display lists
ORVEX_GLREC(GLuint, glGenLists, (GLsizei range), (range), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glNewList, (GLuint list, GLenum mode), (list, mode), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glEndList, (), (), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glCallList, (GLuint list), (list), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glDeleteLists, (GLuint list, GLsizei range), (list, range), ORVEX_GLREC_NONE)

// ---- queries
ORVEX_GLREC(GLenum, glGetError, (), (), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glGetIntegerv, (GLenum pname, GLint* params), (pname, params), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, glGetFloatv, (GLenum pname, GLfloat* params), (pname, params), ORVEX_GLREC_NONE)
ORVEX_GLREC(const GLubyte*, glGetString, (GLenum name), (name), ORVEX_GLREC_NONE)

// ---- GLU
ORVEX_GLREC(void, gluPerspective, (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar), (fovy, aspect, zNear, zFar), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, gluOrtho2D, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top), (left, right, bottom, top), ORVEX_GLREC_NONE)
ORVEX_GLREC(void, gluLookAt, (GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ), (eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ), ORVEX_GLREC_NONE)
ORVEX_GLREC(GLint, gluBuild2DMipmaps, (GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* data), (target, internalFormat, width, height, format, type, data), ORVEX_GLREC_NONE)
