/* A Weston module for the Wayland end-to-end test: a seat with a pointer and a keyboard driven
 * over a Unix socket, and what the compositor itself knows of the program's windows.
 *
 * Headless Weston has no input device at all, and Debian's weston 10 ships neither the test
 * plugin of Weston's own test suite nor any virtual pointer or keyboard protocol (those are
 * wlroots' and KDE's). So this module makes the seat itself and feeds it through the calls a
 * backend's input devices use (notify_motion_absolute, notify_button, notify_key): every click
 * and key goes through Weston's seat, its focus and the shell's bindings, and reaches the program
 * as wl_pointer and wl_keyboard events, exactly as a mouse's would. Qt's accessibility bus was
 * the other way, but it calls a button's click() behind the pointer's back.
 *
 * The socket's path is ZANTHERA_WESTON_SEAT. One line per connection, answered at once:
 *   click X Y          press and release the left button at X, Y (the desktop's coordinates)
 *   key CODE...        press the evdev keys in order, release them in reverse
 *   windows            one line per shown window: app id, title, "x y width height"
 *   selection          the clipboard's text, read from the program that holds it */
#define _GNU_SOURCE
#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>

#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

/* libweston's backend calls, which its installed headers leave out (weston 10's backend.h). */
void weston_seat_init(struct weston_seat* seat, struct weston_compositor* ec, const char* name);
int weston_seat_init_pointer(struct weston_seat* seat);
int weston_seat_init_keyboard(struct weston_seat* seat, struct xkb_keymap* keymap);
void notify_motion_absolute(struct weston_seat* seat, const struct timespec* time, double x,
                            double y);
void notify_button(struct weston_seat* seat, const struct timespec* time, int32_t button,
                   enum wl_pointer_button_state state);
void notify_pointer_frame(struct weston_seat* seat);
void notify_key(struct weston_seat* seat, const struct timespec* time, uint32_t key,
                enum wl_keyboard_key_state state, enum weston_key_state_update update_state);

static struct weston_compositor* compositor;
static struct weston_seat seat;

static void click(double x, double y) {
    struct timespec now;
    weston_compositor_get_time(&now);
    notify_motion_absolute(&seat, &now, x, y);
    notify_pointer_frame(&seat);
    for (int state = WL_POINTER_BUTTON_STATE_PRESSED; state >= 0; --state) {
        notify_button(&seat, &now, BTN_LEFT, (enum wl_pointer_button_state)state);
        notify_pointer_frame(&seat);
    }
}

static void keys(const char* codes) {
    uint32_t down[8];
    int count = 0, used;
    struct timespec now;
    weston_compositor_get_time(&now);
    for (; count < 8 && sscanf(codes, "%u%n", &down[count], &used) == 1; codes += used)
        notify_key(&seat, &now, down[count++], WL_KEYBOARD_KEY_STATE_PRESSED,
                   STATE_UPDATE_AUTOMATIC);
    while (count > 0)
        notify_key(&seat, &now, down[--count], WL_KEYBOARD_KEY_STATE_RELEASED,
                   STATE_UPDATE_AUTOMATIC);
}

static void describeWindows(FILE* out) {
    struct weston_view* view;
    wl_list_for_each(view, &compositor->view_list, link) {
        struct weston_desktop_surface* s = weston_surface_get_desktop_surface(view->surface);
        if (!s || !weston_surface_is_mapped(view->surface))
            continue;
        const struct weston_geometry g = weston_desktop_surface_get_geometry(s);
        const char *id = weston_desktop_surface_get_app_id(s),
                   *title = weston_desktop_surface_get_title(s);
        fprintf(out, "%s\t%s\t%d %d %d %d\n", id ? id : "", title ? title : "",
                (int)view->geometry.x + g.x, (int)view->geometry.y + g.y, g.width, g.height);
    }
}

/* The clipboard's owner writes into the pipe needing nothing more of Weston: waiting is safe. */
static void copySelection(FILE* out) {
    struct weston_data_source* source = seat.selection_data_source;
    int ends[2];
    if (!source || pipe2(ends, O_CLOEXEC) != 0)
        return;
    source->send(source, "text/plain;charset=utf-8", ends[1]); /* it closes the end it is given */
    wl_display_flush_clients(compositor->wl_display);
    char chunk[4096];
    ssize_t n;
    struct pollfd readable = {ends[0], POLLIN, 0};
    while (poll(&readable, 1, 5000) == 1 && (n = read(ends[0], chunk, sizeof chunk)) > 0)
        fwrite(chunk, 1, (size_t)n, out);
    close(ends[0]);
}

static int answer(int listener, uint32_t mask, void* data) {
    (void)mask, (void)data;
    const int fd = accept4(listener, NULL, NULL, SOCK_CLOEXEC);
    const struct timeval patience = {5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    FILE* connection = fd < 0 ? NULL : fdopen(fd, "r+");
    char line[256];
    double x, y;
    if (!connection || !fgets(line, sizeof line, connection))
        line[0] = '\0';
    if (sscanf(line, "click %lf %lf", &x, &y) == 2)
        click(x, y);
    else if (strncmp(line, "key ", 4) == 0)
        keys(line + 4);
    else if (strcmp(line, "windows\n") == 0)
        describeWindows(connection);
    else if (strcmp(line, "selection\n") == 0)
        copySelection(connection);
    connection ? fclose(connection) : close(fd);
    return 0;
}

WL_EXPORT int wet_module_init(struct weston_compositor* ec, int* argc, char* argv[]) {
    (void)argc, (void)argv;
    const char* path = getenv("ZANTHERA_WESTON_SEAT");
    struct sockaddr_un address = {.sun_family = AF_UNIX};
    if (!path || strlen(path) >= sizeof address.sun_path)
        return -1;
    strcpy(address.sun_path, path);
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0 || bind(listener, (struct sockaddr*)&address, sizeof address) != 0 ||
        listen(listener, 4) != 0)
        return -1;
    compositor = ec;
    weston_seat_init(&seat, ec, "default");
    weston_seat_init_pointer(&seat);
    weston_seat_init_keyboard(&seat, NULL);
    wl_event_loop_add_fd(wl_display_get_event_loop(ec->wl_display), listener, WL_EVENT_READABLE,
                         answer, NULL);
    return 0;
}
