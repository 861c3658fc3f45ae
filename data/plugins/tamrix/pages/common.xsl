<?xml version="1.0" encoding="UTF-8"?>
<!-- What every repository page shares: the frame with its navigation bar, the list of
     clips and the empty-state box. Each list item carries the "path" by which the
     repository's context menus find what was clicked ("@item/" + id, and so on). -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:str="http://exslt.org/strings" exclude-result-prefixes="str">
<xsl:include href="resources/style.xsl"/>
<xsl:include href="resources/script.xsl"/>

<xsl:template name="layout">
  <xsl:param name="title"/>
  <xsl:param name="kind"/>
  <xsl:param name="here"/>
  <xsl:param name="body"/>
  <html lang="en">
    <head>
      <title><xsl:value-of select="$title"/> - Tamrix</title>
      <meta name="viewport" content="width=device-width, initial-scale=1"/>
      <xsl:call-template name="style"/>
      <xsl:call-template name="script"/>
    </head>
    <body>
      <div class="bar">
        <span class="brand">Tamrix</span>
        <a href="tarn://tamrix/latest">
          <xsl:if test="$here = 'latest'"><xsl:attribute name="class">here</xsl:attribute></xsl:if>
          <xsl:text>Latest clips</xsl:text>
        </a>
      </div>
      <div class="main">
        <xsl:if test="$kind != ''"><div class="kind"><xsl:value-of select="$kind"/></div></xsl:if>
        <h1><xsl:value-of select="$title"/></h1>
        <xsl:copy-of select="$body"/>
      </div>
    </body>
  </html>
</xsl:template>

<xsl:template name="entry-title">
  <xsl:choose>
    <xsl:when test="normalize-space(title) != ''"><xsl:value-of select="title"/></xsl:when>
    <xsl:otherwise>(untitled clip)</xsl:otherwise>
  </xsl:choose>
</xsl:template>

<xsl:template name="count-line">
  <xsl:param name="items"/>
  <p class="count">
    <xsl:value-of select="count($items)"/>
    <xsl:choose>
      <xsl:when test="count($items) = 1"> clip</xsl:when>
      <xsl:otherwise> clips</xsl:otherwise>
    </xsl:choose>
  </p>
</xsl:template>

<!-- A clip in a list: its title, then site, date and folder. -->
<xsl:template match="item" mode="entry">
  <li class="entry" path="@item/{id}">
    <a class="title" href="tarn://tamrix/item?{str:encode-uri(id, true())}"><xsl:call-template name="entry-title"/></a>
    <div class="meta">
      <xsl:if test="site != ''">
        <a class="site" href="tarn://tamrix/site?{str:encode-uri(site, true())}"><xsl:value-of select="site"/></a>
      </xsl:if>
      <span class="date"><xsl:value-of select="created"/></span>
      <xsl:if test="folder != ''">
        <a class="folder" href="tarn://tamrix/folder?{str:encode-uri(folder, true())}"><xsl:value-of select="folder"/></a>
      </xsl:if>
    </div>
  </li>
</xsl:template>

<xsl:template name="entry-list">
  <xsl:param name="items"/>
  <xsl:param name="empty"/>
  <xsl:choose>
    <xsl:when test="$items">
      <ul class="entries"><xsl:apply-templates select="$items" mode="entry"/></ul>
    </xsl:when>
    <xsl:otherwise><div class="empty"><xsl:copy-of select="$empty"/></div></xsl:otherwise>
  </xsl:choose>
</xsl:template>
</xsl:stylesheet>
