#include <climits>
#include <cstring>
#include <new>

#include "tagstrip/host_api.h"

// An empty string shares one static buffer (capacity 0) so that default construction
// allocates nothing; every other string owns a buffer of capacity + 1 bytes, NUL included.
namespace {

char emptyBuffer[1] = {'\0'};

int CheckedLength(const char* text)
{
    return text == nullptr ? 0 : static_cast<int>(std::strlen(text));
}

}  // namespace

CString::CString() : data(emptyBuffer), length(0), capacity(0) {}

CString::CString(const char* text) : CString()
{
    Assign(text, CheckedLength(text));
}

CString::CString(const char* bytes, int length) : CString()
{
    Assign(bytes, bytes == nullptr || length < 0 ? 0 : length);
}

CString::CString(const CString& other) : CString()
{
    Assign(other.data, other.length);
}

CString::~CString()
{
    Empty();
}

CString& CString::operator=(const char* text)
{
    Assign(text, CheckedLength(text));
    return *this;
}

CString& CString::operator=(const CString& other)
{
    Assign(other.data, other.length);
    return *this;
}

CString& CString::operator+=(const char* text)
{
    Append(text, CheckedLength(text));
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    Append(other.data, other.length);
    return *this;
}

CString& CString::operator+=(char character)
{
    Append(&character, 1);
    return *this;
}

int CString::GetLength() const
{
    return length;
}

bool CString::IsEmpty() const
{
    return length == 0;
}

void CString::Empty()
{
    if (capacity > 0) {
        delete[] data;
    }
    data = emptyBuffer;
    length = 0;
    capacity = 0;
}

CString::operator const char*() const
{
    return data;
}

// The shared empty buffer is never handed out for writing: even an empty string gets a
// buffer of its own here.
char* CString::GetBuffer(int minimumLength)
{
    if (minimumLength > capacity || capacity == 0) {
        const int newCapacity = minimumLength > 0 ? minimumLength : 1;
        char* newData = new char[static_cast<std::size_t>(newCapacity) + 1];
        std::memcpy(newData, data, static_cast<std::size_t>(length) + 1);
        if (capacity > 0) {
            delete[] data;
        }
        data = newData;
        capacity = newCapacity;
        data[capacity] = '\0';
    }
    return data;
}

void CString::ReleaseBuffer(int newLength)
{
    if (capacity == 0) {
        return;
    }
    if (newLength < 0) {
        newLength = static_cast<int>(std::strlen(data));
    }
    length = newLength < capacity ? newLength : capacity;
    data[length] = '\0';
}

// The source may lie inside this string's own buffer, which is then never shorter than
// the source, so memmove in place covers self-assignment. The shared empty buffer is
// never written: strings on many threads point at it.
void CString::Assign(const char* bytes, int count)
{
    if (count <= 0) {
        Empty();
        return;
    }
    if (count > capacity) {
        Empty();
        data = new char[static_cast<std::size_t>(count) + 1];
        capacity = count;
    }
    std::memmove(data, bytes, static_cast<std::size_t>(count));
    length = count;
    data[length] = '\0';
}

// Grows geometrically so that appending character by character stays linear. The old
// buffer is freed only after copying, since the source may lie inside it.
void CString::Append(const char* bytes, int count)
{
    if (count <= 0) {
        return;
    }
    if (count > capacity - length) {
        if (count > INT_MAX - length) {
            throw std::bad_alloc();
        }
        const int needed = length + count;
        const int grown = capacity > INT_MAX / 2 ? INT_MAX : capacity * 2;
        const int newCapacity = grown > needed ? grown : needed;
        char* newData = new char[static_cast<std::size_t>(newCapacity) + 1];
        std::memcpy(newData, data, static_cast<std::size_t>(length));
        std::memcpy(newData + length, bytes, static_cast<std::size_t>(count));
        if (capacity > 0) {
            delete[] data;
        }
        data = newData;
        capacity = newCapacity;
    } else {
        std::memmove(data + length, bytes, static_cast<std::size_t>(count));
    }
    length += count;
    data[length] = '\0';
}
