// The host product object.
#include <tamkernel/CTamProduct.h>

CTamProduct* GetTamProduct() {
    static CTamProduct product;
    return &product;
}
