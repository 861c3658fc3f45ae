<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:str="http://exslt.org/strings" exclude-result-prefixes="str">
<xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat"/>
<xsl:define name="content_type" value="text/html"/>
<xsl:include href="common.xsl"/>
<Tarn name="repository" database="Tamrix/tamrix.db">
  <request name="query" method="SQL" value="select url_decode(?) as key">
    <bind value="{$request_params}"/>
  </request>
  <request name="*" method="SQL"
           value="select id, title, site, folder, substr(datetime(createTime, 'localtime'), 1, 16) as created from entry where folder = url_decode(?) order by createTime desc, rowid desc">
    <bind value="{$request_params}"/>
  </request>
</Tarn>

<xsl:template match="/">
  <xsl:variable name="key" select="/repository/query/item/key"/>
  <xsl:call-template name="layout">
    <xsl:with-param name="kind">Folder</xsl:with-param>
    <xsl:with-param name="title">
      <xsl:choose>
        <xsl:when test="$key != ''"><xsl:value-of select="$key"/></xsl:when>
        <xsl:otherwise>(no folder)</xsl:otherwise>
      </xsl:choose>
    </xsl:with-param>
    <xsl:with-param name="body">
      <xsl:if test="/repository/item">
        <xsl:call-template name="count-line">
          <xsl:with-param name="items" select="/repository/item"/>
        </xsl:call-template>
      </xsl:if>
      <xsl:call-template name="entry-list">
        <xsl:with-param name="items" select="/repository/item"/>
        <xsl:with-param name="empty">
          <strong>This folder holds no clips.</strong>
          Choose this folder when you save a clip, or move a clip here with Folder in the clip's right-click menu.
        </xsl:with-param>
      </xsl:call-template>
    </xsl:with-param>
  </xsl:call-template>
</xsl:template>
</xsl:stylesheet>
