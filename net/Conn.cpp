#include "net/Conn.h"

#include <cstring>

CConn::CConn() : m_szName{}, m_nConnType(0), m_nUserId(0), m_hWnd(nullptr) {}

CConn::CConn(const CConn& other) { *this = other; }

CConn& CConn::operator=(const CConn& other) {
    std::memcpy(m_szName, other.m_szName, sizeof m_szName);
    m_nConnType = other.m_nConnType;
    m_nUserId = other.m_nUserId;
    m_hWnd = other.m_hWnd;
    return *this;
}

// Deliberately does not call Done: the program calls it before deleting the object.
CConn::~CConn() = default;
