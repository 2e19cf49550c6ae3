/* Films the X screen: grabs the root window as fast as the server allows and writes every grab
 * that differs from the one before it, so that each picture the screen showed, however briefly,
 * can be checked afterwards.
 *
 *   screen_film OUTDIR SECONDS [MAXFRAMES]
 *
 * Writes OUTDIR/frame-NNNN-X-Y.ppm (binary PPM): frame 0 is the whole screen as it was at the
 * start; every later frame is cut to the box in which the screen differs from frame 0, placed at
 * X,Y. Stops after SECONDS, on SIGTERM or SIGINT, or after MAXFRAMES frames (default 400), and
 * prints the number of grabs and of frames written. Uses shared memory (MIT-SHM) when the
 * server offers it, otherwise plain XGetImage. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <errno.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>

static volatile sig_atomic_t stop_requested = 0;

static void on_signal(int sig) {
  (void)sig;
  stop_requested = 1;
}

static double now_s(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

/* The pixel at x,y of a 24- or 32-bit image as 0xRRGGBB. */
static uint32_t pixel_at(XImage *img, int x, int y) {
  const unsigned char *p = (const unsigned char *)img->data + (size_t)y * img->bytes_per_line + (size_t)x * 4;
  uint32_t v = (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
  if (img->byte_order == MSBFirst) v = __builtin_bswap32(v);
  const uint32_t r = (v & img->red_mask) >> __builtin_ctz(img->red_mask);
  const uint32_t g = (v & img->green_mask) >> __builtin_ctz(img->green_mask);
  const uint32_t b = (v & img->blue_mask) >> __builtin_ctz(img->blue_mask);
  return r << 16 | g << 8 | b;
}

static int write_ppm(const char *dir, int index, XImage *img, int x0, int y0, int x1, int y1) {
  char path[4096];
  snprintf(path, sizeof path, "%s/frame-%04d-%d-%d.ppm", dir, index, x0, y0);
  FILE *f = fopen(path, "wb");
  if (!f) {
    fprintf(stderr, "screen_film: cannot write %s: %s\n", path, strerror(errno));
    return -1;
  }
  fprintf(f, "P6\n%d %d\n255\n", x1 - x0, y1 - y0);
  unsigned char *row = malloc((size_t)(x1 - x0) * 3);
  if (!row) {
    fclose(f);
    return -1;
  }
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const uint32_t v = pixel_at(img, x, y);
      row[(x - x0) * 3] = (unsigned char)(v >> 16);
      row[(x - x0) * 3 + 1] = (unsigned char)(v >> 8);
      row[(x - x0) * 3 + 2] = (unsigned char)v;
    }
    fwrite(row, 3, (size_t)(x1 - x0), f);
  }
  free(row);
  return fclose(f) == 0 ? 0 : -1;
}

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: screen_film OUTDIR SECONDS [MAXFRAMES]\n");
    return 2;
  }
  const char *dir = argv[1];
  const double seconds = atof(argv[2]);
  const int max_frames = argc > 3 ? atoi(argv[3]) : 400;
  Display *dpy = XOpenDisplay(NULL);
  if (!dpy) {
    fprintf(stderr, "screen_film: cannot open the display\n");
    return 2;
  }
  const int screen = DefaultScreen(dpy);
  const Window root = RootWindow(dpy, screen);
  const int width = DisplayWidth(dpy, screen), height = DisplayHeight(dpy, screen);
  Visual *visual = DefaultVisual(dpy, screen);
  const int depth = DefaultDepth(dpy, screen);
  if (depth != 24 && depth != 32) {
    fprintf(stderr, "screen_film: a screen of depth %d is not supported\n", depth);
    return 2;
  }

  XShmSegmentInfo shm;
  memset(&shm, 0, sizeof shm);
  XImage *grab = NULL;
  int use_shm = XShmQueryExtension(dpy);
  if (use_shm) {
    grab = XShmCreateImage(dpy, visual, (unsigned)depth, ZPixmap, NULL, &shm, (unsigned)width, (unsigned)height);
    if (grab) shm.shmid = shmget(IPC_PRIVATE, (size_t)grab->bytes_per_line * height, IPC_CREAT | 0600);
    if (grab && shm.shmid >= 0) {
      shm.shmaddr = grab->data = shmat(shm.shmid, NULL, 0);
      shm.readOnly = False;
      if (shm.shmaddr == (char *)-1 || !XShmAttach(dpy, &shm)) use_shm = 0;
      XSync(dpy, False);
      shmctl(shm.shmid, IPC_RMID, NULL); /* freed once both sides let go */
    } else {
      use_shm = 0;
    }
  }
  if (grab && (grab->bits_per_pixel != 32 || grab->bytes_per_line != width * 4)) {
    fprintf(stderr, "screen_film: only 32-bit pixels without row padding are supported\n");
    return 2;
  }

  /* Frame 0 (the screen before anything happened) and the previous grab, whole screens. */
  const size_t bytes = (size_t)width * height * 4;
  XImage *first = NULL;
  unsigned char *previous = malloc(bytes);
  if (!previous) return 2;

  signal(SIGTERM, on_signal);
  signal(SIGINT, on_signal);
  const double end = now_s() + seconds;
  long grabs = 0;
  int frames = 0;
  while (!stop_requested && now_s() < end && frames < max_frames) {
    XImage *img = NULL;
    if (use_shm) {
      if (!XShmGetImage(dpy, root, grab, 0, 0, AllPlanes)) break;
      img = grab;
    } else {
      img = XGetImage(dpy, root, 0, 0, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
      if (!img) break;
      if (img->bits_per_pixel != 32 || img->bytes_per_line != width * 4) {
        fprintf(stderr, "screen_film: only 32-bit pixels without row padding are supported\n");
        return 2;
      }
    }
    ++grabs;
    const int changed = frames == 0 || memcmp(previous, img->data, bytes) != 0;
    if (changed) {
      memcpy(previous, img->data, bytes);
      if (frames == 0) {
        first = XGetImage(dpy, root, 0, 0, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
        if (!first || write_ppm(dir, 0, img, 0, 0, width, height) != 0) return 2;
        memcpy(first->data, img->data, bytes);
      } else {
        /* The box in which this grab differs from the first one. */
        int x0 = width, y0 = height, x1 = 0, y1 = 0;
        const uint32_t *a = (const uint32_t *)img->data, *b = (const uint32_t *)first->data;
        for (int y = 0; y < height; ++y) {
          for (int x = 0; x < width; ++x) {
            if (a[(size_t)y * width + x] != b[(size_t)y * width + x]) {
              if (x < x0) x0 = x;
              if (x >= x1) x1 = x + 1;
              if (y < y0) y0 = y;
              if (y >= y1) y1 = y + 1;
            }
          }
        }
        if (x1 > x0 && write_ppm(dir, frames, img, x0, y0, x1, y1) != 0) return 2;
      }
      ++frames;
    }
    if (!use_shm) XDestroyImage(img);
  }
  printf("%ld grabs, %d frames\n", grabs, frames);
  if (use_shm) {
    XShmDetach(dpy, &shm);
    shmdt(shm.shmaddr);
  }
  XCloseDisplay(dpy);
  return 0;
}
