// Collections: CArray, CList, CMap and the typed MFC-named variants (CStringArray, CStringList,
// CMapStringToString, CPtrArray, ...).
// CMap keeps MFC's layout and so its iteration order: the bucket of a key is HashKey(key) % table size
// (17 unless InitHashTable says otherwise; integer keys hash to key >> 4), buckets are walked in ascending
// order, and within a bucket the newest key comes first. Changing the value of an existing key keeps its place.
// CList keeps insertion order; POSITION values stay valid until their element is removed.
#pragma once

#include <utility>
#include <vector>

#include "QMfcObject.h"
#include "QMfcString.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() {}
    INT_PTR GetSize() const { return (INT_PTR)m_data.size(); }
    INT_PTR GetCount() const { return (INT_PTR)m_data.size(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return (INT_PTR)m_data.size() - 1; }
    void SetSize(INT_PTR size, INT_PTR = -1) { m_data.resize(size > 0 ? (size_t)size : 0); }
    void RemoveAll() { m_data.clear(); }
    void FreeExtra() { m_data.shrink_to_fit(); }
    const TYPE& GetAt(INT_PTR i) const { return m_data.at((size_t)i); }
    TYPE& GetAt(INT_PTR i) { return m_data.at((size_t)i); }
    void SetAt(INT_PTR i, ARG_TYPE v) { m_data.at((size_t)i) = v; }
    TYPE& ElementAt(INT_PTR i) { return m_data.at((size_t)i); }
    const TYPE* GetData() const { return m_data.data(); }
    TYPE* GetData() { return m_data.data(); }
    void SetAtGrow(INT_PTR i, ARG_TYPE v) {
        if ((size_t)i >= m_data.size()) m_data.resize((size_t)i + 1);
        m_data[(size_t)i] = v;
    }
    INT_PTR Add(ARG_TYPE v) { m_data.push_back(v); return (INT_PTR)m_data.size() - 1; }
    INT_PTR Append(const CArray& other) {
        INT_PTR old = GetSize();
        m_data.insert(m_data.end(), other.m_data.begin(), other.m_data.end());
        return old;
    }
    void Copy(const CArray& other) { if (&other != this) m_data = other.m_data; }
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1) {
        if ((size_t)i > m_data.size()) m_data.resize((size_t)i);
        m_data.insert(m_data.begin() + i, (size_t)count, v);
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1) {
        if (i < 0 || count <= 0 || (size_t)i >= m_data.size()) return;
        size_t end = (size_t)i + (size_t)count;
        if (end > m_data.size()) end = m_data.size();
        m_data.erase(m_data.begin() + i, m_data.begin() + (ptrdiff_t)end);
    }
    const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }

private:
    std::vector<TYPE> m_data;
};

class CStringArray : public CArray<CString, LPCWSTR> {};
class CPtrArray : public CArray<void*, void*> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CWordArray : public CArray<WORD, WORD> {};
class CObArray : public CArray<CObject*, CObject*> {};

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };

public:
    CList() : m_head(NULL), m_tail(NULL), m_count(0) {}
    ~CList() { RemoveAll(); }
    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return m_head->data; }
    const TYPE& GetHead() const { return m_head->data; }
    TYPE& GetTail() { return m_tail->data; }
    const TYPE& GetTail() const { return m_tail->data; }
    POSITION AddHead(ARG_TYPE v) { return InsertBefore(Pos(m_head), v); }
    POSITION AddTail(ARG_TYPE v) { return InsertAfter(Pos(m_tail), v); }
    void AddTail(const CList& other) { for (Node* n = other.m_head; n; n = n->next) AddTail(n->data); }
    TYPE RemoveHead() { TYPE v = m_head->data; RemoveAt(Pos(m_head)); return v; }
    TYPE RemoveTail() { TYPE v = m_tail->data; RemoveAt(Pos(m_tail)); return v; }
    void RemoveAll() {
        for (Node* n = m_head; n;) { Node* next = n->next; delete n; n = next; }
        m_head = m_tail = NULL;
        m_count = 0;
    }

    POSITION GetHeadPosition() const { return Pos(m_head); }
    POSITION GetTailPosition() const { return Pos(m_tail); }
    TYPE& GetNext(POSITION& pos) { Node* n = N(pos); pos = Pos(n->next); return n->data; }
    const TYPE& GetNext(POSITION& pos) const { Node* n = N(pos); pos = Pos(n->next); return n->data; }
    TYPE& GetPrev(POSITION& pos) { Node* n = N(pos); pos = Pos(n->prev); return n->data; }
    const TYPE& GetPrev(POSITION& pos) const { Node* n = N(pos); pos = Pos(n->prev); return n->data; }
    TYPE& GetAt(POSITION pos) { return N(pos)->data; }
    const TYPE& GetAt(POSITION pos) const { return N(pos)->data; }
    void SetAt(POSITION pos, ARG_TYPE v) { N(pos)->data = v; }

    POSITION InsertBefore(POSITION pos, ARG_TYPE v) {
        Node* at = N(pos);  // NULL: at the head
        Node* n = at ? new Node{at, at->prev, v} : new Node{m_head, NULL, v};
        Link(n);
        return Pos(n);
    }
    POSITION InsertAfter(POSITION pos, ARG_TYPE v) {
        Node* at = N(pos);  // NULL: at the tail
        Node* n = at ? new Node{at->next, at, v} : new Node{NULL, m_tail, v};
        Link(n);
        return Pos(n);
    }
    void RemoveAt(POSITION pos) {
        Node* n = N(pos);
        if (!n) return;
        if (n->prev) n->prev->next = n->next; else m_head = n->next;
        if (n->next) n->next->prev = n->prev; else m_tail = n->prev;
        delete n;
        --m_count;
    }
    POSITION Find(ARG_TYPE v, POSITION after = NULL) const {
        for (Node* n = after ? N(after)->next : m_head; n; n = n->next)
            if (n->data == v) return Pos(n);
        return NULL;
    }
    POSITION FindIndex(INT_PTR index) const {
        if (index < 0) return NULL;
        Node* n = m_head;
        while (n && index-- > 0) n = n->next;
        return Pos(n);
    }

private:
    static POSITION Pos(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* N(POSITION p) { return reinterpret_cast<Node*>(p); }
    void Link(Node* n) {
        if (n->prev) n->prev->next = n; else m_head = n;
        if (n->next) n->next->prev = n; else m_tail = n;
        ++m_count;
    }
    Node* m_head;
    Node* m_tail;
    INT_PTR m_count;
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
};

class CStringList : public CList<CString, LPCWSTR> {};
class CPtrList : public CList<void*, void*> {};
class CObList : public CList<CObject*, CObject*> {};

// Hash values as MFC computes them.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
    return (UINT)(((ULONG_PTR)key) >> 4);
}
inline UINT HashKey(LPCWSTR key) {
    UINT hash = 0;
    while (key && *key) hash = (hash << 5) + hash + (UINT)*key++;
    return hash;
}
inline UINT HashKey(LPCSTR key) {
    UINT hash = 0;
    while (key && *key) hash = (hash << 5) + hash + (UINT)(BYTE)*key++;
    return hash;
}
inline UINT HashKey(const CString& key) { return HashKey((LPCWSTR)key); }

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
    struct Assoc {
        Assoc* next;
        UINT hash;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(INT_PTR = 10) : m_tableSize(17), m_count(0) {}
    ~CMap() { RemoveAll(); }

    // Only takes effect while the map is empty (as in MFC, the size is fixed once keys exist).
    void InitHashTable(UINT size, BOOL = TRUE) {
        if (m_count == 0 && size > 0) {
            m_table.clear();
            m_tableSize = size;
        }
    }
    UINT GetHashTableSize() const { return m_tableSize; }
    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& value) const {
        const Assoc* a = Find(key);
        if (!a) return FALSE;
        value = a->value;
        return TRUE;
    }
    VALUE& operator[](ARG_KEY key) {
        if (Assoc* a = Find(key)) return a->value;
        if (m_table.empty()) m_table.resize(m_tableSize, nullptr);
        UINT hash = HashKey(key);
        UINT bucket = hash % m_tableSize;
        Assoc* a = new Assoc{m_table[bucket], hash, KEY(key), VALUE()};
        m_table[bucket] = a;  // the newest key heads its bucket
        ++m_count;
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    BOOL RemoveKey(ARG_KEY key) {
        if (m_table.empty()) return FALSE;
        UINT bucket = HashKey(key) % m_tableSize;
        for (Assoc** link = &m_table[bucket]; *link; link = &(*link)->next) {
            if ((*link)->key == key) {
                Assoc* dead = *link;
                *link = dead->next;
                delete dead;
                --m_count;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll() {
        for (Assoc* a : m_table)
            while (a) { Assoc* next = a->next; delete a; a = next; }
        m_table.clear();
        m_count = 0;
    }

    POSITION GetStartPosition() const { return reinterpret_cast<POSITION>(const_cast<Assoc*>(First(0))); }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
        const Assoc* a = reinterpret_cast<const Assoc*>(pos);
        key = a->key;
        value = a->value;
        const Assoc* next = a->next ? a->next : First(a->hash % m_tableSize + 1);
        pos = reinterpret_cast<POSITION>(const_cast<Assoc*>(next));
    }

private:
    const Assoc* First(UINT fromBucket) const {
        for (UINT b = fromBucket; b < m_table.size(); ++b)
            if (m_table[b]) return m_table[b];
        return NULL;
    }
    Assoc* Find(ARG_KEY key) const {
        if (m_table.empty()) return NULL;
        for (Assoc* a = m_table[HashKey(key) % m_tableSize]; a; a = a->next)
            if (a->key == key) return a;
        return NULL;
    }
    std::vector<Assoc*> m_table;
    UINT m_tableSize;
    INT_PTR m_count;
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
};

class CMapStringToString : public CMap<CString, LPCWSTR, CString, LPCWSTR> {};
class CMapStringToPtr : public CMap<CString, LPCWSTR, void*, void*> {};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {};
class CMapStringToOb : public CMap<CString, LPCWSTR, CObject*, CObject*> {};
