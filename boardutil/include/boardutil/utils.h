/* Small utilities: integer files, radio restart, file size and copy, and an
 * intrusive circular doubly linked list. */
#ifndef BOARDUTIL_UTILS_H
#define BOARDUTIL_UTILS_H

#ifdef __cplusplus
extern "C" {
#endif

struct dl_list {
  struct dl_list *next;
  struct dl_list *prev;
};

int file_read_int(const char *path);
void reset_wifi(void);
int get_file_size(const char *path);
int copy_file(const char *source, const char *destination);

void dl_list_init(struct dl_list *list);
void dl_list_add(struct dl_list *list, struct dl_list *item);
void dl_list_add_tail(struct dl_list *list, struct dl_list *item);
void dl_list_del(struct dl_list *item);
int dl_list_empty(const struct dl_list *list);
unsigned dl_list_len(const struct dl_list *list);

#ifdef __cplusplus
}
#endif

#endif
