/* The login as the screen shows it: presses Enter in the program's window
 * (xdotool), then grabs the screen for three seconds, and prints the
 * milliseconds from the key to the last large change of the screen (a
 * caret's blink and the clock's tick are small ones), and the CPU
 * milliseconds the program's process spent up to then (from /proc).
 * Usage: loginwatch <pid of the program>. Built and run by login.sh. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static double cpu_ms(const char* pid)
{
    char path[64], line[1024];
    snprintf(path, sizeof path, "/proc/%s/stat", pid);
    FILE* f = fopen(path, "r");
    if (!f || !fgets(line, sizeof line, f))
        return -1;
    fclose(f);
    unsigned long utime = 0, stime = 0;
    /* utime and stime are fields 14 and 15, after the name in brackets. */
    const char* p = line;
    for (const char* q = line; *q; ++q)
        if (*q == ')')
            p = q;
    sscanf(p, ") %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime);
    return (utime + stime) * 1000.0 / sysconf(_SC_CLK_TCK);
}

static XImage* grab(Display* d, Window root, int w, int h)
{
    return XGetImage(d, root, 0, 0, w, h, AllPlanes, ZPixmap);
}

static long changed_pixels(const XImage* a, const XImage* b)
{
    long n = 0;
    for (int y = 0; y < a->height; ++y) {
        const uint32_t* p = (const uint32_t*)(a->data + (long)y * a->bytes_per_line);
        const uint32_t* q = (const uint32_t*)(b->data + (long)y * b->bytes_per_line);
        for (int x = 0; x < a->width; ++x)
            n += p[x] != q[x];
    }
    return n;
}

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d)
        return 3;
    Window root = DefaultRootWindow(d);
    XWindowAttributes a;
    XGetWindowAttributes(d, root, &a);
    XImage* last = grab(d, root, a.width, a.height);
    const double cpu0 = cpu_ms(argv[1]);
    const double t0 = now_ms();
    if (system("xdotool key Return") != 0)
        return 4;
    double changed = -1, cpu = -1;
    while (now_ms() - t0 < 3000) {
        XImage* img = grab(d, root, a.width, a.height);
        const double t = now_ms();
        if (changed_pixels(img, last) > 5000) {
            changed = t;
            cpu = cpu_ms(argv[1]);
        }
        XDestroyImage(last);
        last = img;
    }
    printf("%.1f %.1f\n", changed > 0 ? changed - t0 : -1.0, changed > 0 ? cpu - cpu0 : -1.0);
    return 0;
}
