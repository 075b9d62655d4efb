/* The stb_image implementation, compiled once for the benchmark (third-party code, so it is
   built without the project's warning policy). */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>
